#include "util/texts.h"

#include <atomic>

#include "util/ascii.h"

namespace lvn::texts {
namespace {

// Set once before any window and read from every thread after, so relaxed order is enough.
std::atomic<Language> current_language{Language::kJapanese};

constexpr uint16_t kPrimaryLanguageMask = 0x3ff;
constexpr uint16_t kLangJapanese = 0x11;

constexpr const char* kLanguageSettings[] = {"auto", "ja", "en"};

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

}  // namespace

Language LanguageFor(std::string_view setting, uint16_t ui_language_id) {
  switch (LanguageChoiceOf(setting)) {
    case 1: return Language::kJapanese;
    case 2: return Language::kEnglish;
    default:
      return (ui_language_id & kPrimaryLanguageMask) == kLangJapanese ? Language::kJapanese
                                                                      : Language::kEnglish;
  }
}

const char* LanguageSettingOf(int choice) {
  return choice > 0 && choice < 3 ? kLanguageSettings[choice] : kLanguageSettings[0];
}

int LanguageChoiceOf(std::string_view setting) {
  for (int i = 1; i < 3; ++i) {
    if (SameWord(setting, kLanguageSettings[i])) return i;
  }
  return 0;
}

void UseLanguage(Language language) { current_language.store(language, std::memory_order_relaxed); }

Language CurrentLanguage() { return current_language.load(std::memory_order_relaxed); }

const Texts& Ui() {
  return CurrentLanguage() == Language::kJapanese ? kJapaneseTexts : kEnglishTexts;
}

}  // namespace lvn::texts
