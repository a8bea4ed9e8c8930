// libFuzzer target: a control's property bag text ("Name=value" lines) read into a real control.
// The same reader takes a hosted control's initial state from a dialog template row (the site
// loads that text with loadFromBag), so this target covers both. The first byte picks the
// control (light or graph), the rest is the bag text.
//
// Invariants: the control's own saved bag reads back completely into a fresh control of the
// class, which saves the same text again; and both controls then hold the same state, so their
// binary streams are equal too.

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
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    CFuzzControl first(index);
    first->loadFromBag(text);
    std::string saved;
    std::string stream;
    if (first->saveToBag(&saved) != S_OK || first->saveToStream(&stream) != S_OK)
        __builtin_trap();

    CFuzzControl second(index);
    std::string savedAgain;
    std::string streamAgain;
    if (second->loadFromBag(saved) != S_OK || second->saveToBag(&savedAgain) != S_OK
        || savedAgain != saved || second->saveToStream(&streamAgain) != S_OK
        || streamAgain != stream)
        __builtin_trap();
    return 0;
}
