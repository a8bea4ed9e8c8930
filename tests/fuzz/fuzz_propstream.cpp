// libFuzzer target: a control's persisted binary stream (the persistence exchange's stream form)
// read back into a real control. The first byte picks the control (light or graph), the rest is
// the stream its loadFromStream reads, as a container hands over the bytes it kept.
//
// Invariant: whatever the load made of the bytes, the control's own saved stream reads back
// completely into a fresh control of the class, which saves the very same bytes again.

#include "tests/fuzz/widgetcontrols.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace fuzzsupport;
    if (size == 0)
        return 0;
    const int index = data[0] % c_controlCount;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    CFuzzControl first(index);
    first->loadFromStream(bytes);
    std::string saved;
    if (first->saveToStream(&saved) != S_OK)
        __builtin_trap();

    CFuzzControl second(index);
    std::string savedAgain;
    if (second->loadFromStream(saved) != S_OK || second->saveToStream(&savedAgain) != S_OK
        || savedAgain != saved)
        __builtin_trap();
    return 0;
}
