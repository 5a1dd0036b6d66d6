#include <fstream>
#include <iostream>

#include "kvrun.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: kvrun SCRIPT|-\n";
    return 2;
  }
  std::string name = argv[1];
  if (name == "-") return kvrun::RunScript(std::cin, "-", std::cout, std::cerr);
  std::ifstream in(name);
  if (!in) {
    std::cerr << "kvrun: " << name << ": cannot open\n";
    return 1;
  }
  return kvrun::RunScript(in, name, std::cout, std::cerr);
}
