#pragma once

#include <vector>

// An ordered list of pointers. Whether the list owns what it points at is the
// caller's choice: the Delete operations take a flag that says so.
template <class T>
class WDL_PtrList
{
public:
  WDL_PtrList() = default;
  WDL_PtrList(const WDL_PtrList&) = delete;
  WDL_PtrList& operator=(const WDL_PtrList&) = delete;

  int GetSize() const { return static_cast<int>(mItems.size()); }

  // Null for an index outside the list.
  T* Get(int index) const
  {
    return (index >= 0 && index < GetSize()) ? mItems[static_cast<size_t>(index)] : nullptr;
  }

  T* Add(T* item)
  {
    mItems.push_back(item);
    return item;
  }

  // Inserts before index; an index past the end appends.
  T* Insert(int index, T* item)
  {
    if (index < 0) index = 0;
    if (index > GetSize()) index = GetSize();
    mItems.insert(mItems.begin() + index, item);
    return item;
  }

  int Find(const T* item) const
  {
    for (size_t i = 0; i < mItems.size(); ++i)
      if (mItems[i] == item) return static_cast<int>(i);
    return -1;
  }

  // Removes one entry, deleting what it points at when wantDelete is set.
  void Delete(int index, bool wantDelete = false)
  {
    if (index < 0 || index >= GetSize()) return;
    T* item = mItems[static_cast<size_t>(index)];
    mItems.erase(mItems.begin() + index);
    if (wantDelete) delete item;
  }

  // Empties the list; with wantDelete the items are deleted last to first.
  void Empty(bool wantDelete = false)
  {
    if (wantDelete)
      while (!mItems.empty()) Delete(GetSize() - 1, true);
    mItems.clear();
  }

  T* const* begin() const { return mItems.data(); }
  T* const* end() const { return mItems.data() + mItems.size(); }

private:
  std::vector<T*> mItems;
};
