#include "main/run_main.h"

int main() { return tarnix::RunMain(); }
