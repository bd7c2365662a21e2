// A shared library that is not a VST 2 plug-in: it has no entry point.
extern "C" __attribute__((visibility("default"))) int kestrane_test_not_a_plugin()
{
  return 1;
}
