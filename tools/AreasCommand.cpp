// `areas`: each settings area with the class that reads it, the key of its
// element, and one line on what it holds.
#include <iostream>
#include <map>

#include "Commands.h"
#include "Diagnostics.h"
#include "Vocabulary.h"
#include "WideText.h"

namespace dicomsettings_tool {
namespace {

const std::map<std::string, const char*>& Summaries() {
  static const std::map<std::string, const char*> summaries = {
      {"echo", "verification (C-ECHO) client: tasks, folders, AE title, syntaxes"},
      {"storage", "storage (C-STORE) client: tasks, folders, tag conversion, syntaxes"},
      {"print", "basic grayscale print management client"},
      {"printnevent", "printer status events (N-EVENT-REPORT)"},
      {"media", "media (CD/DVD) writer: tasks and folders"},
      {"scscurecv", "secondary capture, receiving side"},
      {"scscusend", "secondary capture, sending side"},
      {"detachscurecv", "detached patient and study management, receiving side"},
      {"detachscusend", "detached study and results management, sending side"},
      {"mwmscu", "modality worklist (C-FIND) client: port, timeout, keys, syntaxes"},
      {"mwmscuinfo", "the worklist attributes (tags) the client asks for"},
      {"mppsscu", "modality performed procedure step client"},
      {"setup", "shared by every service: PDU size, logs, retries, each service's program"},
      {"clients", "the peers the services talk to: AE titles, addresses, ports, timeouts"},
      {"errors", "internal error codes and the DICOM status each is answered with"},
      {"charconv", "character set conversion groups and their person-name components"},
  };
  return summaries;
}

}  // namespace

int RunAreas() {
  for (const SectionSchema* area : AllAreas()) {
    const auto summary = Summaries().find(area->area);
    std::cout << area->area << '\t' << ToUtf8(AreaKey(*area)) << '\t' << area->className << '\t'
              << (summary != Summaries().end() ? summary->second : "") << '\n';
  }
  return std::cout.flush() ? kExitSuccess : kExitUsage;
}

}  // namespace dicomsettings_tool
