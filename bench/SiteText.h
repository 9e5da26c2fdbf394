// What real sites write into their settings files beside the values the
// section classes address: Japanese text in the values that hold it (error
// texts, conversion group names, some service names and folders) and the
// comments administrators leave between and inside areas.
#ifndef DICOMSETTINGS_BENCH_SITETEXT_H
#define DICOMSETTINGS_BENCH_SITETEXT_H

#include <string>

namespace bench {

// The text a site writes for a string value, or an empty string where an ASCII
// value is usual. key is the value's key, index the entry's index in its list
// (0 outside lists), serial the value's number in the file.
std::string SiteStringValue(const std::wstring& key, int index, size_t serial);

// The comment an administrator leaves before an area (an element of the
// document element), or before an entry of a list; empty where there is none.
std::string AreaComment(const std::string& area);
std::string EntryComment(const std::string& list, int index);

}  // namespace bench

#endif
