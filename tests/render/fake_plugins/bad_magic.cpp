// A library whose entry point returns a record that is not an AEffect.
#include <cstdint>

namespace
{
struct NotAnEffect
{
  int32_t magic = 0x12345678;
  void* fields[30] = {};
};
NotAnEffect sRecord;
} // namespace

extern "C" __attribute__((visibility("default"))) void* main_entry(void*) __asm__("main");
extern "C" void* main_entry(void*)
{
  return &sRecord;
}
