// Takes the single-copy lock at the path given and holds it until it is killed.
#include "SingleInstance.h"

#include <QCoreApplication>

#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        return 2;
    }
    platform::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    std::puts(instance.tryAcquire() ? "held" : "refused");
    std::fflush(stdout);
    for (;;) {
        pause();
    }
}
