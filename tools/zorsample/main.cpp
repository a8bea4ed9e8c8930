// zorsample: a small program on the framework, to see its dialogs as a user sees them.

#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    return zorRunApplication(argc, argv);
}
