// A shared object with none of a component module's entry points: the tools must refuse it.

extern "C" __attribute__((visibility("default"))) int zorPlainModuleAnswer()
{
    return 42;
}
