#include "builder/ui/pages/fc_setup_rules.h"

#include <cstring>

const char kNameExcludedChars[] = "\\/:*?\"<>|";
const char kFolderExcludedChars[] = "/*?\"<>|";

namespace {

const char kPrefix[] = "http://";
const int kPrefixLength = 7;

struct Language {
    const char* text;
    int32_t value;
};

const Language kLanguages[FC_SETUP_LANGUAGE_COUNT] = {
    {"English", 1},
    {"French", 2},
    {"German", 3},
    {"Italian", 4},
    {"Polish", 11},
    {"Portuguese", 5},
    {"Portuguese (Brazilian)", 6},
    {"Spanish", 7},
};

bool HasPrefix(const char* url) {
    KZString start(url, (int)strnlen(url, kPrefixLength));
    return start.CompareNoCase(kPrefix) == 0;
}

} // namespace

KZString FCDefaultInstallDir(const char* company, const char* long_name) {
    KZString dir;
    if (company && *company) {
        dir = "{pf}\\";
        dir += company;
        dir += "\\";
    }
    dir += long_name;
    return dir;
}

KZString FCUrlWithoutPrefix(const char* url) {
    if (!url)
        return KZString();
    return KZString(HasPrefix(url) ? url + kPrefixLength : url);
}

KZString FCUrlWithPrefix(const char* shown) {
    KZString url(kPrefix);
    url += FCUrlWithoutPrefix(shown);
    return url;
}

KZString FCDefaultCopyright(int year, const char* company) {
    KZString text;
    text.Format("Copyright %c %d %s", 169, year, company ? company : "");
    return text;
}

KZString FCDoubleAmpersands(const char* text, bool (*is_lead_byte)(unsigned char)) {
    KZString doubled;
    for (const char* p = text ? text : ""; *p; ++p) {
        if (is_lead_byte && is_lead_byte((unsigned char)*p) && p[1]) {
            doubled.Append(p, 2);
            ++p;
            continue;
        }
        doubled.AppendChar(*p);
        if (*p == '&')
            doubled.AppendChar('&');
    }
    return doubled;
}

const char* FCSetupLanguageText(int position) {
    return position >= 0 && position < FC_SETUP_LANGUAGE_COUNT ? kLanguages[position].text
                                                               : nullptr;
}

int32_t FCSetupLanguageValue(int position) {
    return position >= 0 && position < FC_SETUP_LANGUAGE_COUNT ? kLanguages[position].value : 0;
}

int FCSetupLanguagePosition(int32_t value) {
    for (int i = 0; i < FC_SETUP_LANGUAGE_COUNT; ++i) {
        if (kLanguages[i].value == value)
            return i;
    }
    return -1;
}

int32_t FCSetupLanguageForSelection(int selection) {
    if (selection < 0)
        selection = 0;
    if (selection > 6)
        selection = FC_SETUP_LANGUAGE_COUNT - 1;
    return kLanguages[selection].value;
}
