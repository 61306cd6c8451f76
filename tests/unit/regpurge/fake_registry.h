// A registry in memory for the regpurge tests, linked in place of the
// backend's registry functions and message box. Every call is logged, and
// single calls can be made to fail.
#ifndef QUILLBAY_TEST_FAKE_REGISTRY_H
#define QUILLBAY_TEST_FAKE_REGISTRY_H

#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace fake_registry {

// Empties both roots, the log and every planned failure.
void reset();
// Creates the key and every key above it. Paths are "HKCU\..." or "HKLM\...".
void add(const std::string& key);
bool exists(const std::string& key);
// Every key under a root, as "HKCU\..." paths, sorted.
std::set<std::string> all_keys();

// Planned failures, by "HKCU\..." path.
void fail_open(const std::string& key);
void fail_query(const std::string& key);
void fail_delete(const std::string& key);
void fail_enum(const std::string& key, unsigned index);
// The key reports this many more sub-keys than it has, as if some vanished
// between the count and the enumeration.
void overcount(const std::string& key, unsigned extra);

// The calls made, one line each: "open HKCU\...", "close HKCU\...",
// "delete HKCU\...", "box <text>".
const std::vector<std::string>& log();
// Keys open at the same time, at most.
int most_open();
int open_now();

}  // namespace fake_registry

#endif
