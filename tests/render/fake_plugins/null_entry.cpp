// A library whose VST 2 entry point creates no instance.
struct AEffect;
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(void*)
{
  return nullptr;
}
