// A module whose only content is its version block, for the frame's version checks; the
// program's tests also load a copy of it to stand for the program's directory.

extern "C" __attribute__((visibility("default"))) int zorFrameTestModule()
{
    return 29;
}
