// A short program that uses the settings library as a service would: it opens a
// settings file, reads settings through section objects, changes a few, saves,
// and reads them back from a fresh object.
//
// Usage: edit_settings FILE   (FILE is changed; pass a copy)
#include <DicomSettings/DicomSettings.h>

#include <cstdio>
#include <string>

using namespace DicomAccessLibraryCpp;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: edit_settings FILE\n");
    return 2;
  }
  const std::string narrow = argv[1];
  const std::wstring path(narrow.begin(), narrow.end());

  CEchoScuSetting echo(path.c_str());
  if (const int result = echo.Open()) {
    std::fprintf(stderr, "edit_settings: %s: %s\n", argv[1],
                 AccessLibraryBaseCpp::ResultText(result));
    return 2;
  }
  std::printf("echo task count      %d\n", static_cast<int>(echo.TaskCount));
  std::printf("echo client AE title %ls\n", std::wstring(echo.ClientAeTitle).c_str());
  for (int i = 0; i < echo.GetCountSyntax(); ++i) {
    std::printf("echo syntax %d        %ls\n", i,
                std::wstring(echo.Syntax[i].AbstractSyntax).c_str());
  }

  CDicomClientSetting clients(path.c_str());
  clients.Open();
  for (int i = 0; i < clients.GetCountDicomClient(); ++i) {
    const DicomClient::CDicomClient& client = clients.DicomClient[i];
    std::printf("client %d             %ls at %ls:%d\n", i, std::wstring(client.ServerAe).c_str(),
                std::wstring(client.IpAddress).c_str(), static_cast<int>(client.Port));
  }

  echo.TaskCount = 3;
  echo.ClientAeTitle = L"ECHO_SCU_2";
  clients.DicomClient[0].Port = 11112;
  std::printf("set echo task count 3, client AE title ECHO_SCU_2, client 0 port 11112\n");
  // Both sections share the file's one tree in the store: one save writes both.
  if (const int result = echo.Save()) {
    std::fprintf(stderr, "edit_settings: %s: %s\n", argv[1],
                 AccessLibraryBaseCpp::ResultText(result));
    return 2;
  }
  echo.Close();
  clients.Close();

  CEchoScuSetting reread(path.c_str());
  reread.Open();
  std::printf("read back: task count %d, client AE title %ls\n", static_cast<int>(reread.TaskCount),
              std::wstring(reread.ClientAeTitle).c_str());
  return 0;
}
