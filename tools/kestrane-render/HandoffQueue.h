#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

// Hands items from one thread to another, first in, first out. Pop waits for
// an item; once the queue is closed and empty it returns false, which is how
// the receiving thread learns that no more will come. The render passes
// pointers to a fixed set of blocks back and forth, so the number of blocks
// bounds the queue. [any thread]
template <class T>
class HandoffQueue
{
public:
  void Push(T item)
  {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      mItems.push_back(item);
    }
    mReady.notify_one();
  }

  bool Pop(T* item)
  {
    std::unique_lock<std::mutex> lock(mMutex);
    mReady.wait(lock, [this] { return !mItems.empty() || mClosed; });
    if (mItems.empty()) return false;
    *item = mItems.front();
    mItems.pop_front();
    return true;
  }

  void Close()
  {
    {
      std::lock_guard<std::mutex> lock(mMutex);
      mClosed = true;
    }
    mReady.notify_all();
  }

private:
  std::mutex mMutex;
  std::condition_variable mReady;
  std::deque<T> mItems;
  bool mClosed = false;
};
