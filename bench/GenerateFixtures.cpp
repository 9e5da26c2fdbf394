// Writes the two benchmark settings files into a folder: settings-base.xml (every
// list at the size the sections address) and settings-x10.xml (every list ten
// times longer). Usage: generate_fixtures [folder]
#include <cstdio>
#include <string>

#include "FixtureFiles.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  for (const int factor : {1, 10}) {
    const std::string name = factor == 1 ? "settings-base.xml" : "settings-x10.xml";
    const bench::Fixture fixture = bench::WriteFixture(folder + "/" + name, factor);
    std::printf("%s: %zu values, %zu bytes\n", fixture.path.c_str(), fixture.keys.size(),
                fixture.bytes);
  }
  return 0;
}
