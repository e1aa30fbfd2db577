// Real-looking names for matcher tests and benchmarks: tags in the style of a
// threat list (made-up product words), and the folder names, registry key and
// value names, string data and command lines of a clean machine that a scan
// hands to the matcher (ordinary words, GUIDs, versions, paths). Deterministic
// for a given random engine.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"

namespace veltrane::samples {

using Random = std::mt19937_64;

inline size_t Pick(Random& random, size_t count) {
  return std::uniform_int_distribution<size_t>(0, count - 1)(random);
}

template <class T, size_t N>
const T& PickOf(Random& random, const T (&items)[N]) {
  return items[Pick(random, N)];
}

inline const char* PickFrom(Random& random, std::initializer_list<const char*> items) {
  return items.begin()[Pick(random, items.size())];
}

inline bool Chance(Random& random, double probability) {
  return std::bernoulli_distribution(probability)(random);
}

// A pronounceable made-up word of about `length` letters.
inline std::string Word(Random& random, size_t length) {
  static const char* const kOnsets[] = {"b", "c", "d", "f", "g", "h", "k", "l", "m", "n", "p", "r", "s",
                                        "t", "v", "w", "z", "br", "cl", "dr", "fl", "gr", "pl", "pr", "sh",
                                        "sk", "sp", "st", "str", "th", "tr", "qu", "x", "y", "j", "ch"};
  static const char* const kVowels[] = {"a", "e", "i", "o", "u", "y", "ai", "ea", "ee", "oo", "ou", "io"};
  static const char* const kCodas[] = {"", "", "", "n", "r", "s", "t", "x", "ck", "ng", "nt", "rd", "ll"};
  std::string word;
  while (word.size() < length) {
    word += PickOf(random, kOnsets);
    word += PickOf(random, kVowels);
    word += PickOf(random, kCodas);
  }
  word.resize(length);
  return word;
}

// An ordinary word of the kind that names programs, folders and settings on
// a clean machine (the tags are made-up words; see Tags).
inline std::string Term(Random& random) {
  static const char* const kTerms[] = {
      "blue", "harbor", "cloud", "studio", "photo", "audio", "video", "sync", "backup", "editor", "viewer",
      "reader", "capture", "network", "bridge", "printer", "scanner", "keyboard", "mouse", "graphics", "sound",
      "power", "battery", "display", "camera", "system", "control", "center", "monitor", "data", "file",
      "document", "project", "report", "music", "media", "stream", "connect", "link", "share", "secure", "vault",
      "guard", "shield", "pixel", "vector", "canvas", "draw", "paint", "design", "code", "build", "deploy",
      "server", "client", "remote", "desk", "mail", "calendar", "contact", "note", "task", "time", "clock",
      "weather", "map", "travel", "game", "arcade", "puzzle", "chess", "card", "sport", "fitness", "health",
      "bank", "money", "finance", "budget", "invoice", "store", "market", "shop", "order", "track", "fleet",
      "drive", "disk", "storage", "memory", "cache", "logs", "config", "settings", "profile", "user", "account",
      "login", "password", "key", "token", "cert", "update", "install", "setup", "launcher", "helper", "agent",
      "service", "host", "runtime", "framework", "library", "plugin", "extension", "module", "component",
      "engine", "core", "kernel", "shell", "terminal", "console", "command", "script", "compiler", "debugger",
      "profiler", "analyzer", "checker", "cleaner", "optimizer", "tuner", "repair", "recovery", "restore",
      "archive", "compress", "convert", "translate", "speech", "voice", "chat", "meet", "talk", "phone",
      "mobile", "tablet", "watch", "home", "smart", "light", "garden", "kitchen", "recipe", "book", "school",
      "learn", "lesson", "math", "science", "atlas", "globe", "earth", "star", "moon", "sun", "ocean", "river",
      "mountain", "forest", "green", "red", "orange", "silver", "gold", "iron", "steel", "stone", "crystal",
      "diamond", "pearl", "eagle", "falcon", "tiger", "lion", "wolf", "bear", "panda", "dolphin", "whale",
      "rocket", "jet", "orbit", "galaxy", "nova", "quantum", "atom", "pulse", "wave", "spark", "flash", "bolt",
      "fire", "ice", "snow", "rain", "storm", "wind"};
  return PickOf(random, kTerms);
}

inline std::string Capitalised(std::string word) {
  if (!word.empty() && word[0] >= 'a' && word[0] <= 'z') word[0] = static_cast<char>(word[0] - 0x20);
  return word;
}

// `count` distinct tags (ignoring case) of `shortest` (at least 3) to 12
// letters, mostly 6 to 10: made-up product words, some with a digit or a
// dash, in the order of a sorted definition list. Under the loose rule a
// tag of three or four letters is found in a good share of all names.
inline std::vector<std::string> Tags(Random& random, size_t count, size_t shortest = 3) {
  //                            3  4  5   6   7   8   9  10  11  12 letters
  std::vector<double> weights = {1, 2, 6, 14, 18, 18, 15, 12, 8, 6};
  for (size_t length = 3; length < shortest; ++length) weights[length - 3] = 0;
  std::discrete_distribution<size_t> lengths(weights.begin(), weights.end());
  std::set<std::string> seen;
  std::vector<std::string> tags;
  while (tags.size() < count) {
    std::string tag = Word(random, 3 + lengths(random));
    if (Chance(random, 0.1)) tag[Pick(random, tag.size())] = static_cast<char>('0' + Pick(random, 10));
    if (Chance(random, 0.05) && tag.size() > 4) tag[1 + Pick(random, tag.size() - 2)] = '-';
    if (seen.insert(tag).second) tags.push_back(Chance(random, 0.3) ? Capitalised(tag) : tag);
  }
  return tags;
}

// Exclusions of well-known publishers and programs. Not "microsoft" or
// "windows": a key path containing one is skipped with everything below it,
// which would leave most of a scan's registry trees unwalked.
inline std::vector<std::string> Exclusions() {
  return {"google", "mozilla", "adobe", "intel", "nvidia", "realtek", "oracle", "apple", "dropbox", "skype",
          "steam", "logitech", "lenovo", "onedrive", "office", "visual studio", "dotnet", "defender", "chrome",
          "firefox", "java", "python", "vlc", "7-zip", "winrar", "notepad++", "teams", "zoom", "spotify", "videolan"};
}

inline std::string Guid(Random& random) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string guid = "{";
  for (int group : {8, 4, 4, 4, 12}) {
    if (guid.size() > 1) guid += '-';
    for (int i = 0; i < group; ++i) guid += kHex[Pick(random, 16)];
  }
  return guid + "}";
}

inline std::string Version(Random& random) {
  return std::to_string(Pick(random, 20)) + "." + std::to_string(Pick(random, 10)) + "." +
         std::to_string(Pick(random, 3000));
}

inline std::string Vendor(Random& random) {
  static const char* const kKnown[] = {"Microsoft", "Google", "Mozilla", "Adobe", "Intel", "NVIDIA Corporation",
                                       "Realtek", "Common Files", "Windows NT", "WindowsApps", "Oracle", "VideoLAN"};
  if (Chance(random, 0.5)) return PickOf(random, kKnown);
  std::string vendor = Capitalised(Term(random));
  if (Chance(random, 0.5)) vendor += " " + Capitalised(Term(random));
  if (Chance(random, 0.3)) vendor += PickFrom(random, {" Software", " Inc", " Ltd", " Labs", " Media"});
  return vendor;
}

inline std::string Product(Random& random) {
  static const char* const kWords[] = {"Update", "Helper", "Toolbar", "Search", "Player", "Driver", "Service",
                                       "Launcher", "Assistant", "Cleaner", "Manager", "Agent", "Setup", "Tools"};
  std::string product = Capitalised(Term(random));
  if (Chance(random, 0.4)) product += Capitalised(Term(random));
  if (Chance(random, 0.6)) product += std::string(" ") + PickOf(random, kWords);
  if (Chance(random, 0.3)) product += " " + Version(random);
  return product;
}

// One folder name as found under Program Files, AppData or a Start menu.
inline std::string FolderName(Random& random) {
  static const char* const kCommon[] = {"AppData", "Local", "Roaming", "Temp", "Programs", "Startup", "Cache",
                                        "Data", "bin", "x64", "en-US", "Resources", "plugins", "locales",
                                        "Microsoft", "Windows", "Start Menu", "Packages", "logs", "User Data"};
  switch (Pick(random, 4)) {
    case 0:
      return PickOf(random, kCommon);
    case 1:
      return Vendor(random);
    case 2:
      return Product(random);
    default:
      return Chance(random, 0.5) ? Guid(random) : Term(random);
  }
}

// A full folder path ending with a backslash, as the folder scan builds it.
inline std::string FolderPath(Random& random) {
  static const char* const kRoots[] = {"C:\\Program Files\\", "C:\\Program Files (x86)\\", "C:\\Users\\anna\\",
                                       "C:\\Users\\anna\\AppData\\Roaming\\", "C:\\ProgramData\\",
                                       "C:\\Users\\anna\\AppData\\Local\\",
                                       "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"};
  std::string path = PickOf(random, kRoots);
  const size_t depth = 1 + Pick(random, 4);
  for (size_t i = 0; i < depth; ++i) path += FolderName(random) + "\\";
  return path;
}

inline std::string KeyName(Random& random) {
  static const char* const kCommon[] = {"Software", "Classes", "CLSID", "Microsoft", "Windows", "CurrentVersion",
                                        "Explorer", "Run", "Policies", "Shell", "shellex", "InprocServer32",
                                        "DefaultIcon", "open", "command", "TypeLib", "Interface", "AppID",
                                        "Uninstall", "Services", "Parameters", "Enum", "Control", ".txt",
                                        "txtfile", "Applications", "SOFTWARE", "Wow6432Node", "Internet Settings"};
  switch (Pick(random, 4)) {
    case 0:
    case 1:
      return PickOf(random, kCommon);
    case 2:
      return Guid(random);
    default:
      return Chance(random, 0.5) ? Vendor(random) : Product(random);
  }
}

inline std::string ValueName(Random& random) {
  static const char* const kCommon[] = {"DisplayName", "DisplayVersion", "Publisher", "InstallLocation",
                                        "UninstallString", "DisplayIcon", "EstimatedSize", "Path", "Version",
                                        "ThreadingModel", "LastUpdate", "Language", "Flags", "", "MRUList",
                                        "SearchScopes", "StartPage", "ProxyServer", "AutoConfigURL"};
  if (Chance(random, 0.7)) return PickOf(random, kCommon);
  return Product(random);
}

// A file path, a command line, a GUID, a URL or a number: string data.
inline std::string ValueData(Random& random) {
  static const char* const kExtensions[] = {".exe", ".dll", ".ico", ".sys", ".EXE", ".dat", ".js"};
  const std::string folder = FolderPath(random);
  const std::string file = Term(random) + (Chance(random, 0.3) ? Term(random) : "") + PickOf(random, kExtensions);
  switch (Pick(random, 6)) {
    case 0:
      return folder + file;
    case 1:
      return "\"" + folder + file + "\" " +
             PickFrom(random, {"/silent", "--update", "-background", "/S /norestart", "%1", "--type=renderer"});
    case 2:
      return "rundll32.exe " + folder + file + "," + Capitalised(Term(random)) + " " + Guid(random);
    case 3:
      return Guid(random);
    case 4:
      return "http://www." + Term(random) + Term(random) + ".com/" + Term(random) + "?q={searchTerms}&id=" +
             std::to_string(Pick(random, 1000000));
    default:
      return std::to_string(Pick(random, 100000));
  }
}

// A large value (4 to 32 KB): a long list of program files, as in a long
// list of modules or a most-recently-used list.
inline std::string LargeValue(Random& random) {
  const size_t size = 4096 + Pick(random, 28 * 1024);
  std::string value;
  while (value.size() < size) {
    value += PickFrom(random, {"C:\\Program Files\\", "C:\\Users\\anna\\AppData\\Local\\", "D:\\Tools\\"});
    value += Capitalised(Term(random)) + "\\" + Product(random) + "\\bin\\" + Term(random) + ".dll;";
  }
  value.resize(size);
  return value;
}

}  // namespace veltrane::samples
