// Ortolan: desktop atlas of the fauna of Italy.
#include "app/Startup.h"

int main(int argc, char **argv)
{
    return ortolan::runApplication(argc, argv);
}
