// Writes a generated valid CRS CSV file of at most BYTES bytes: the input of
// bench/floor.sh and of anyone measuring by hand.
#include "CRSCsvGenerator.h"

#include <cstdlib>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: GenerateCrsCsv BYTES OUT.csv\n";
    return 2;
  }
  const std::string text = GenerateCrsCsv(std::strtoull(argv[1], nullptr, 10));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out ? 0 : 1;
}
