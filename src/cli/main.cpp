#include "CompatCli.h"

#include <cstdio>

int main(int argc, char* argv[])
{
    return CompatCli::run(argc, argv, stdin, stdout, stderr);
}
