// Writes the benchmark settings files into a folder: settings-base.xml (every
// list at the size the sections address, ASCII values), settings-x10.xml (every
// list ten times longer), settings-real.xml and settings-real-x10.xml (the same
// as sites have them: Japanese text and comments) and settings-editor.xml (the
// realistic base file in another editor's layout: tabs, CRLF).
// Usage: generate_fixtures [folder]
#include <cstdio>
#include <string>

#include "FixtureFiles.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  for (const bench::FixtureKind& kind : bench::kFixtureKinds) {
    const bench::Fixture fixture =
        bench::WriteFixture(folder + "/settings-" + kind.label + ".xml", kind.factor, kind.style);
    std::printf("%s: %s\n", fixture.path.c_str(), bench::Describe(fixture).c_str());
  }
  return 0;
}
