// A settings file on disk for a section test to work on.
#ifndef DICOMSETTINGS_TESTS_SETTINGSFILE_H
#define DICOMSETTINGS_TESTS_SETTINGSFILE_H

#include <gtest/gtest.h>

#include <string>

#include "DicomSettings.h"
#include "TempDir.h"

// A settings file in a test's temporary directory, created with the given body.
struct SettingsFile {
  SettingsFile(const TempDir& dir, const std::string& name, const std::string& body = "")
      : file(dir.File(name)), path(dir.WideFile(name)) {
    WriteTextFile(file, SettingsXml(body));
  }
  std::string file;
  std::wstring path;
};

#endif
