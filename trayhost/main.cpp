#include "trayhost/ui/trayprogram.h"

int main(int argc, char** argv)
{
    return trayhost::RunTrayProgram(argc, argv);
}
