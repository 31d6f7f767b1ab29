#include "commandline.h"

int main(int argc, char **argv)
{
    return app::programMain(argc, argv, app::executableDirectory());
}
