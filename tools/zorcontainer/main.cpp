// zorcontainer: the control test container.

#include "platform/ui/winapp.h"

int main(int argc, char** argv)
{
    return zorRunApplication(argc, argv);
}
