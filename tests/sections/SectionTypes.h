// The sixteen section classes, as a type list for typed tests, and a settings
// file on disk for a test to work on.
#ifndef DICOMSETTINGS_TESTS_SECTIONTYPES_H
#define DICOMSETTINGS_TESTS_SECTIONTYPES_H

#include <gtest/gtest.h>

#include <string>

#include "DicomSettings.h"
#include "TempDir.h"

using SectionClasses = ::testing::Types<
    DicomAccessLibraryCpp::CEchoScuSetting, DicomAccessLibraryCpp::CStorageScuSetting,
    DicomAccessLibraryCpp::CPrintScuSetting, DicomAccessLibraryCpp::CPrintNeventSetting,
    DicomAccessLibraryCpp::CMediaScuSetting, DicomAccessLibraryCpp::CScScuRecvSetting,
    DicomAccessLibraryCpp::CScScuSendSetting, DicomAccessLibraryCpp::CDetachScuRecvSetting,
    DicomAccessLibraryCpp::CDetachScuSendSetting, DicomAccessLibraryCpp::CMwmScuSetting,
    DicomAccessLibraryCpp::CMwmScuInfoSetting, DicomAccessLibraryCpp::CMppsScuSetting,
    DicomAccessLibraryCpp::CDicomSetupSetting, DicomAccessLibraryCpp::CDicomClientSetting,
    DicomAccessLibraryCpp::CDicomErrorSetting, DicomAccessLibraryCpp::CSpecificCharConv>;

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
