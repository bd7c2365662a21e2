// A small Core Foundation: reference-counted strings, numbers, data,
// dictionaries and arrays with their callbacks, bundles and URLs, enough for
// the Audio Unit wrapper to run on Linux. Every object created (and not a
// CFSTR constant) is counted while it lives, so tests can check that nothing
// handed across the interface leaks.
#include <atomic>
#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/apple-standins/StandInHarness.h"

#define CF_EXPORT extern "C" KESTRANE_STANDIN_API

namespace
{
std::atomic<long> gLiveObjects{0};
std::atomic<long> gLiveBlocks{0};

enum TypeId : CFTypeID
{
  kStringType = 7,
  kNumberType = 22,
  kDataType = 20,
  kDictionaryType = 18,
  kArrayType = 19,
  kURLType = 29,
  kBundleType = 31
};

[[noreturn]] void Misuse(const char* what)
{
  // Real Core Foundation crashes here too; say why first.
  std::fprintf(stderr, "Core Foundation stand-in: %s\n", what);
  std::abort();
}
} // namespace

// The common head of every object.
struct CFObject
{
  explicit CFObject(CFTypeID type, bool counted = true) : mType(type), mCounted(counted)
  {
    if (mCounted) ++gLiveObjects;
  }
  virtual ~CFObject()
  {
    if (mCounted) --gLiveObjects;
  }
  CFObject(const CFObject&) = delete;
  CFObject& operator=(const CFObject&) = delete;

  const CFTypeID mType;
  const bool mCounted; // false for never-freed objects: constants, bundles
  std::atomic<long> mRefs{1};
};

struct __CFString : CFObject
{
  explicit __CFString(std::string text, bool counted = true) : CFObject(kStringType, counted), mText(std::move(text)) {}
  std::string mText;
};

struct __CFNumber : CFObject
{
  __CFNumber() : CFObject(kNumberType) {}
  bool mIsFloat = false;
  int64_t mInteger = 0;
  double mFloat = 0.0;
};

struct __CFData : CFObject
{
  __CFData() : CFObject(kDataType) {}
  std::vector<UInt8> mBytes;
};

struct __CFArray : CFObject
{
  explicit __CFArray(const CFArrayCallBacks* callBacks) : CFObject(kArrayType)
  {
    if (callBacks) mCallBacks = *callBacks;
  }
  ~__CFArray() override
  {
    for (const void* value : mValues)
      if (mCallBacks.release) mCallBacks.release(nullptr, value);
  }
  CFArrayCallBacks mCallBacks{};
  std::vector<const void*> mValues;
};

struct __CFDictionary : CFObject
{
  __CFDictionary(const CFDictionaryKeyCallBacks* keys, const CFDictionaryValueCallBacks* values)
      : CFObject(kDictionaryType)
  {
    if (keys) mKeyCallBacks = *keys;
    if (values) mValueCallBacks = *values;
  }
  ~__CFDictionary() override
  {
    for (auto& entry : mEntries)
    {
      if (mKeyCallBacks.release) mKeyCallBacks.release(nullptr, entry.first);
      if (mValueCallBacks.release) mValueCallBacks.release(nullptr, entry.second);
    }
  }
  bool KeysEqual(const void* a, const void* b) const
  {
    return a == b || (mKeyCallBacks.equal && mKeyCallBacks.equal(a, b));
  }
  CFDictionaryKeyCallBacks mKeyCallBacks{};
  CFDictionaryValueCallBacks mValueCallBacks{};
  std::vector<std::pair<const void*, const void*>> mEntries;
};

struct __CFURL : CFObject
{
  explicit __CFURL(std::string path) : CFObject(kURLType), mPath(std::move(path)) {}
  std::string mPath;
};

struct __CFBundle : CFObject
{
  __CFBundle(CFStringRef identifier, std::string path)
      : CFObject(kBundleType, false), mIdentifier(identifier), mPath(std::move(path))
  {
  }
  CFStringRef mIdentifier; // a constant string, or null
  std::string mPath;
};

namespace
{
const CFObject* Object(CFTypeRef ref)
{
  if (!ref) Misuse("null object");
  return static_cast<const CFObject*>(ref);
}

template <class T>
const T* As(CFTypeRef ref, CFTypeID type, const char* what)
{
  const CFObject* object = Object(ref);
  if (object->mType != type) Misuse(what);
  return static_cast<const T*>(object);
}

const __CFString* String(CFStringRef s) { return As<__CFString>(s, kStringType, "not a string"); }

const void* RetainType(CFAllocatorRef, const void* value) { return CFRetain(value); }
void ReleaseType(CFAllocatorRef, const void* value) { CFRelease(value); }
Boolean EqualType(const void* a, const void* b) { return CFEqual(a, b); }
CFHashCode HashType(const void* value) { return CFHash(value); }

// Bundles live for the whole process, as loaded bundles do.
std::mutex gBundleMutex;
std::map<std::string, std::unique_ptr<__CFBundle>> gBundles;
std::unique_ptr<__CFBundle> gMainBundle;

std::mutex gConstantMutex;
std::map<std::string, std::unique_ptr<__CFString>> gConstants;

std::string Description(CFTypeRef object)
{
  if (!object) return "(null)";
  const CFObject* o = Object(object);
  switch (o->mType)
  {
  case kStringType: return static_cast<const __CFString*>(o)->mText;
  case kNumberType:
  {
    const __CFNumber* n = static_cast<const __CFNumber*>(o);
    char text[64];
    if (n->mIsFloat)
      std::snprintf(text, sizeof text, "%g", n->mFloat);
    else
      std::snprintf(text, sizeof text, "%" PRId64, n->mInteger);
    return text;
  }
  default: return "<CFType>";
  }
}
} // namespace

CF_EXPORT const CFArrayCallBacks kCFTypeArrayCallBacks = {0, RetainType, ReleaseType, nullptr, EqualType};
CF_EXPORT const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0,       RetainType, ReleaseType,
                                                                           nullptr, EqualType,  HashType};
CF_EXPORT const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {0, RetainType, ReleaseType, nullptr,
                                                                               EqualType};

// ---- Every object ----

CF_EXPORT CFTypeRef CFRetain(CFTypeRef ref)
{
  const CFObject* object = Object(ref);
  // Constants and bundles are immortal: retain and release change nothing.
  if (object->mCounted) ++const_cast<CFObject*>(object)->mRefs;
  return ref;
}

CF_EXPORT void CFRelease(CFTypeRef ref)
{
  CFObject* object = const_cast<CFObject*>(Object(ref));
  if (!object->mCounted) return;
  const long before = object->mRefs--;
  if (before <= 0) Misuse("released more often than retained");
  if (before == 1) delete object;
}

CF_EXPORT CFTypeID CFGetTypeID(CFTypeRef ref) { return Object(ref)->mType; }

CF_EXPORT Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
  if (a == b) return true;
  const CFObject* x = Object(a);
  const CFObject* y = Object(b);
  if (x->mType != y->mType) return false;
  switch (x->mType)
  {
  case kStringType: return static_cast<const __CFString*>(x)->mText == static_cast<const __CFString*>(y)->mText;
  case kDataType: return static_cast<const __CFData*>(x)->mBytes == static_cast<const __CFData*>(y)->mBytes;
  case kNumberType:
  {
    const __CFNumber* m = static_cast<const __CFNumber*>(x);
    const __CFNumber* n = static_cast<const __CFNumber*>(y);
    const double u = m->mIsFloat ? m->mFloat : static_cast<double>(m->mInteger);
    const double v = n->mIsFloat ? n->mFloat : static_cast<double>(n->mInteger);
    return u == v;
  }
  default: return false;
  }
}

CF_EXPORT CFHashCode CFHash(CFTypeRef ref)
{
  const CFObject* object = Object(ref);
  if (object->mType == kStringType) return std::hash<std::string>()(static_cast<const __CFString*>(object)->mText);
  return reinterpret_cast<CFHashCode>(ref);
}

// ---- Strings ----

CF_EXPORT CFTypeID CFStringGetTypeID(void) { return kStringType; }

CF_EXPORT CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding)
{
  if (!cStr || encoding != kCFStringEncodingUTF8) return nullptr;
  return new __CFString(cStr);
}

CF_EXPORT CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef string)
{
  return new __CFString(String(string)->mText);
}

CF_EXPORT CFStringRef CFStringCreateWithFormat(CFAllocatorRef, CFDictionaryRef, CFStringRef format, ...)
{
  const std::string& pattern = String(format)->mText;
  std::string out;
  va_list args;
  va_start(args, format);
  for (std::size_t i = 0; i < pattern.size(); ++i)
  {
    if (pattern[i] != '%' || i + 1 == pattern.size())
    {
      out += pattern[i];
      continue;
    }
    const char conversion = pattern[++i];
    if (conversion == 'd')
      out += std::to_string(va_arg(args, int));
    else if (conversion == 's')
      out += va_arg(args, const char*);
    else if (conversion == '@')
      out += Description(va_arg(args, CFTypeRef));
    else
      out += conversion; // "%%" and anything this stand-in does not know
  }
  va_end(args);
  return new __CFString(std::move(out));
}

CF_EXPORT Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
  const std::string& text = String(string)->mText;
  if (!buffer || encoding != kCFStringEncodingUTF8 || bufferSize <= 0 ||
      static_cast<std::size_t>(bufferSize) < text.size() + 1)
    return false;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return true;
}

CF_EXPORT CFIndex CFStringGetLength(CFStringRef string)
{
  // UTF-16 units: one per character, two for those beyond the BMP.
  CFIndex units = 0;
  for (unsigned char c : String(string)->mText)
  {
    if ((c & 0xC0) != 0x80) ++units;
    if (c >= 0xF0) ++units;
  }
  return units;
}

CF_EXPORT CFComparisonResult CFStringCompare(CFStringRef a, CFStringRef b, CFStringCompareFlags)
{
  const int order = String(a)->mText.compare(String(b)->mText);
  return order < 0 ? kCFCompareLessThan : order > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

CF_EXPORT CFStringRef __CFStringMakeConstantString(const char* cStr)
{
  std::lock_guard<std::mutex> lock(gConstantMutex);
  std::unique_ptr<__CFString>& constant = gConstants[cStr];
  if (!constant) constant.reset(new __CFString(cStr, false));
  return constant.get();
}

// ---- Numbers ----

CF_EXPORT CFTypeID CFNumberGetTypeID(void) { return kNumberType; }

namespace
{
bool IsFloatType(CFNumberType type)
{
  return type == kCFNumberFloat32Type || type == kCFNumberFloat64Type || type == kCFNumberFloatType ||
         type == kCFNumberDoubleType;
}

std::size_t NumberSize(CFNumberType type)
{
  switch (type)
  {
  case kCFNumberSInt8Type:
  case kCFNumberCharType: return 1;
  case kCFNumberSInt16Type:
  case kCFNumberShortType: return 2;
  case kCFNumberSInt32Type:
  case kCFNumberIntType:
  case kCFNumberFloat32Type:
  case kCFNumberFloatType: return 4;
  case kCFNumberSInt64Type:
  case kCFNumberLongType:
  case kCFNumberLongLongType:
  case kCFNumberFloat64Type:
  case kCFNumberDoubleType:
  case kCFNumberCFIndexType: return 8;
  default: return 0;
  }
}
} // namespace

CF_EXPORT CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* valuePtr)
{
  const std::size_t size = NumberSize(type);
  if (!valuePtr || size == 0) return nullptr;
  __CFNumber* number = new __CFNumber;
  number->mIsFloat = IsFloatType(type);
  if (number->mIsFloat)
  {
    if (size == 4)
    {
      float f;
      std::memcpy(&f, valuePtr, 4);
      number->mFloat = f;
    }
    else
      std::memcpy(&number->mFloat, valuePtr, 8);
  }
  else
  {
    switch (size)
    {
    case 1: number->mInteger = *static_cast<const int8_t*>(valuePtr); break;
    case 2: { int16_t v; std::memcpy(&v, valuePtr, 2); number->mInteger = v; break; }
    case 4: { int32_t v; std::memcpy(&v, valuePtr, 4); number->mInteger = v; break; }
    default: std::memcpy(&number->mInteger, valuePtr, 8); break;
    }
  }
  return number;
}

CF_EXPORT Boolean CFNumberGetValue(CFNumberRef ref, CFNumberType type, void* valuePtr)
{
  const __CFNumber* number = As<__CFNumber>(ref, kNumberType, "not a number");
  const std::size_t size = NumberSize(type);
  if (!valuePtr || size == 0) return false;
  if (IsFloatType(type))
  {
    const double v = number->mIsFloat ? number->mFloat : static_cast<double>(number->mInteger);
    if (size == 4)
    {
      const float f = static_cast<float>(v);
      std::memcpy(valuePtr, &f, 4);
    }
    else
      std::memcpy(valuePtr, &v, 8);
    return !number->mIsFloat || size == 8 || static_cast<double>(static_cast<float>(v)) == v;
  }
  // To an integer: the value as Core Foundation would convert it, and false
  // when that loses anything.
  int64_t v = number->mInteger;
  bool exact = true;
  if (number->mIsFloat)
  {
    const double d = number->mFloat;
    exact = d >= -9.2e18 && d <= 9.2e18 && static_cast<double>(static_cast<int64_t>(d)) == d;
    v = (d >= -9.2e18 && d <= 9.2e18) ? static_cast<int64_t>(d) : 0;
  }
  switch (size)
  {
  case 1: { const int8_t x = static_cast<int8_t>(v); std::memcpy(valuePtr, &x, 1); return exact && x == v; }
  case 2: { const int16_t x = static_cast<int16_t>(v); std::memcpy(valuePtr, &x, 2); return exact && x == v; }
  case 4: { const int32_t x = static_cast<int32_t>(v); std::memcpy(valuePtr, &x, 4); return exact && x == v; }
  default: std::memcpy(valuePtr, &v, 8); return exact;
  }
}

// ---- Data ----

CF_EXPORT CFTypeID CFDataGetTypeID(void) { return kDataType; }

CF_EXPORT CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length)
{
  if (length < 0 || (length > 0 && !bytes)) return nullptr;
  __CFData* data = new __CFData;
  data->mBytes.assign(bytes, bytes + length);
  return data;
}

CF_EXPORT const UInt8* CFDataGetBytePtr(CFDataRef data)
{
  const __CFData* d = As<__CFData>(data, kDataType, "not data");
  return d->mBytes.empty() ? nullptr : d->mBytes.data();
}

CF_EXPORT CFIndex CFDataGetLength(CFDataRef data)
{
  return static_cast<CFIndex>(As<__CFData>(data, kDataType, "not data")->mBytes.size());
}

// ---- Dictionaries ----

CF_EXPORT CFTypeID CFDictionaryGetTypeID(void) { return kDictionaryType; }

CF_EXPORT CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex,
                                                           const CFDictionaryKeyCallBacks* keyCallBacks,
                                                           const CFDictionaryValueCallBacks* valueCallBacks)
{
  return new __CFDictionary(keyCallBacks, valueCallBacks);
}

CF_EXPORT void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
  __CFDictionary* d = const_cast<__CFDictionary*>(As<__CFDictionary>(dictionary, kDictionaryType, "not a dictionary"));
  if (d->mValueCallBacks.retain) value = d->mValueCallBacks.retain(nullptr, value);
  for (auto& entry : d->mEntries)
    if (d->KeysEqual(entry.first, key))
    {
      if (d->mValueCallBacks.release) d->mValueCallBacks.release(nullptr, entry.second);
      entry.second = value;
      return;
    }
  if (d->mKeyCallBacks.retain) key = d->mKeyCallBacks.retain(nullptr, key);
  d->mEntries.emplace_back(key, value);
}

CF_EXPORT const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key)
{
  const __CFDictionary* d = As<__CFDictionary>(dictionary, kDictionaryType, "not a dictionary");
  for (const auto& entry : d->mEntries)
    if (d->KeysEqual(entry.first, key)) return entry.second;
  return nullptr;
}

CF_EXPORT CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary)
{
  return static_cast<CFIndex>(As<__CFDictionary>(dictionary, kDictionaryType, "not a dictionary")->mEntries.size());
}

// ---- Arrays ----

CF_EXPORT CFTypeID CFArrayGetTypeID(void) { return kArrayType; }

CF_EXPORT CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex, const CFArrayCallBacks* callBacks)
{
  return new __CFArray(callBacks);
}

CF_EXPORT void CFArrayAppendValue(CFMutableArrayRef array, const void* value)
{
  __CFArray* a = const_cast<__CFArray*>(As<__CFArray>(array, kArrayType, "not an array"));
  if (a->mCallBacks.retain) value = a->mCallBacks.retain(nullptr, value);
  a->mValues.push_back(value);
}

CF_EXPORT CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex count,
                                   const CFArrayCallBacks* callBacks)
{
  if (count < 0 || (count > 0 && !values)) return nullptr;
  CFMutableArrayRef array = CFArrayCreateMutable(allocator, count, callBacks);
  for (CFIndex i = 0; i < count; ++i) CFArrayAppendValue(array, values[i]);
  return array;
}

CF_EXPORT CFIndex CFArrayGetCount(CFArrayRef array)
{
  return static_cast<CFIndex>(As<__CFArray>(array, kArrayType, "not an array")->mValues.size());
}

CF_EXPORT const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
  const __CFArray* a = As<__CFArray>(array, kArrayType, "not an array");
  if (index < 0 || static_cast<std::size_t>(index) >= a->mValues.size()) Misuse("array index out of range");
  return a->mValues[static_cast<std::size_t>(index)];
}

// ---- Allocators ----

CF_EXPORT void* CFAllocatorAllocate(CFAllocatorRef, CFIndex size, CFOptionFlags)
{
  if (size <= 0) return nullptr;
  void* block = std::malloc(static_cast<std::size_t>(size));
  if (block) ++gLiveBlocks;
  return block;
}

CF_EXPORT void CFAllocatorDeallocate(CFAllocatorRef, void* ptr)
{
  if (!ptr) return;
  --gLiveBlocks;
  std::free(ptr);
}

// ---- Bundles and URLs ----

CF_EXPORT CFBundleRef CFBundleGetMainBundle(void)
{
  std::lock_guard<std::mutex> lock(gBundleMutex);
  if (!gMainBundle) gMainBundle.reset(new __CFBundle(nullptr, "/Applications/Host.app"));
  return gMainBundle.get();
}

CF_EXPORT CFStringRef CFBundleGetIdentifier(CFBundleRef bundle)
{
  return As<__CFBundle>(bundle, kBundleType, "not a bundle")->mIdentifier;
}

CF_EXPORT CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef identifier)
{
  const std::string& key = String(identifier)->mText;
  std::lock_guard<std::mutex> lock(gBundleMutex);
  auto found = gBundles.find(key);
  return found == gBundles.end() ? nullptr : found->second.get();
}

CF_EXPORT CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle)
{
  return new __CFURL(As<__CFBundle>(bundle, kBundleType, "not a bundle")->mPath);
}

CF_EXPORT CFTypeID CFURLGetTypeID(void) { return kURLType; }

// ---- Harness ----

long StandInLiveCFObjects() { return gLiveObjects.load(); }

long StandInLiveCFBlocks() { return gLiveBlocks.load(); }

void StandInSetMainBundleIdentifier(const char* identifier)
{
  CFBundleRef main = CFBundleGetMainBundle();
  std::lock_guard<std::mutex> lock(gBundleMutex);
  main->mIdentifier = (identifier && identifier[0]) ? __CFStringMakeConstantString(identifier) : nullptr;
}

void StandInRegisterBundle(const char* identifier, const char* path)
{
  if (!identifier) return;
  CFStringRef name = __CFStringMakeConstantString(identifier);
  std::lock_guard<std::mutex> lock(gBundleMutex);
  gBundles[identifier].reset(new __CFBundle(name, path ? path : ""));
}

const char* StandInURLPath(CFURLRef url)
{
  if (!url || Object(url)->mType != kURLType) return "";
  return static_cast<const __CFURL*>(static_cast<const CFObject*>(url))->mPath.c_str();
}
