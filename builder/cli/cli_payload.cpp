// scrkit-cli info and extract: a screensaver file read the way the runtime reads it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "builder/cli/cli_commands.h"
#include "builder/cli/cli_reporter.h"
#include "builder/cli/cli_text.h"
#include "builder/engine/fc_build_inputs.h"
#include "builder/engine/fc_stored_names.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_memory.h"
#include "runtime/core/qvrk_payload_reader.h"

namespace {

const char kInfoHelp[] =
    "usage: scrkit-cli info FILE.scr [--json]\n"
    "Prints the payload of a screensaver file: settings texts and labels, flags, colours, slots\n"
    "and every embedded file.\n";
const char kExtractHelp[] =
    "usage: scrkit-cli extract FILE.scr -d DIR [--force]\n"
    "Writes every embedded file into DIR under its stored name; unnamed files (and names with a\n"
    "folder part or that Windows refuses, which are never used) become item-N.bin. A file of that\n"
    "name in DIR is an error, and nothing is written; --force replaces it (a link is replaced,\n"
    "never followed).\n";

const char* const kFlagNames[] = {"compressed",          "scrambled",          "wake_on_left_click",
                                  "wake_on_right_click", "wake_on_mouse_move", "wake_on_key",
                                  "hide_cursor",         "mute_sound",         "user_can_mute",
                                  "user_can_set_quality"};
const char* const kTextNames[] = {"company_name",  "long_name",  "settings_message",
                                  "label_quality", "label_low",  "label_medium",
                                  "label_high",    "label_sound"};

// A screensaver file in memory with its payload opened and its entries read. `path` is in the
// ANSI code page; messages show it as the terminal does.
struct OpenedPayload {
    uint8_t* image = nullptr;
    int size = 0;
    QvrkPayload payload;
    QvrkInflater work;
    std::vector<QvrkEntry> entries;
    std::vector<int32_t> slots;
    ~OpenedPayload() { KZFree(image); }
};

int OpenPayload(const char* path, OpenedPayload& opened) {
    opened.image = KZReadWholeFile(path, &opened.size);
    if (!opened.image)
        return CliError(CLI_FAILED, "Unable to open file:\n%s", CliAnsiToTerminal(path).c_str());
    QvrkSource source;
    qvrk_source_memory(&source, opened.image, size_t(opened.size));
    QvrkPayloadResult result = qvrk_payload_open(&opened.payload, &source, &opened.work);
    if (result == QVRK_PAYLOAD_OK) {
        // Every record takes at least its 124 bytes, which bounds the table by the file's size.
        opened.entries.resize(size_t(opened.payload.numbers.file_count));
        opened.slots.resize(size_t(opened.payload.numbers.slot_count));
        result = qvrk_payload_read_entries(&opened.payload, opened.entries.data(),
                                           uint32_t(opened.entries.size()));
    }
    if (result == QVRK_PAYLOAD_OK)
        result = qvrk_payload_read_slots(&opened.payload, opened.slots.data(),
                                         uint32_t(opened.slots.size()));
    if (result != QVRK_PAYLOAD_OK)
        return CliError(CLI_FAILED, "%s carries no screensaver payload (%s)",
                        CliAnsiToTerminal(path).c_str(), qvrk_payload_result_text(result));
    return CLI_OK;
}

// For each entry, why its stored name cannot be the file it is extracted to (empty when it can): a
// name with a folder part, one Windows refuses, or one an earlier entry holds once letter case is
// ignored, which at run time would replace that entry's file. Older builders wrote such names.
std::vector<std::string> NameProblems(const OpenedPayload& o) {
    std::vector<std::string> problems(o.entries.size());
    for (size_t i = 0; i < o.entries.size(); i++) {
        const char* name = o.entries[i].record.name;
        if (!name[0])
            continue;
        std::string shown = CliAnsiToTerminal(name);
        if (!qvrk_entry_has_name(&o.entries[i])) {
            problems[i] = "stored name \"" + shown + "\" is not a plain file name";
            continue;
        }
        if (const char* problem = FCStoredNameProblem(name)) {
            problems[i] = "stored name \"" + shown + "\" cannot be used: " + problem;
            continue;
        }
        for (size_t j = 0; j < i; j++)
            if (problems[j].empty() && FCSameStoredName(name, o.entries[j].record.name)) {
                problems[i] = "stored name \"" + shown + "\" is the name of entry " +
                              std::to_string(j) +
                              " when letter case is ignored; at run time it replaces that file";
                break;
            }
    }
    return problems;
}

std::string Text(const QvrkPayload& payload, QvrkSettingsText field) {
    uint16_t units[600];
    size_t n = qvrk_settings_copy_text(payload.settings, field, units, 600);
    return CliUtf16ToTerminal(units, n);
}

void PrintText(const OpenedPayload& o) {
    const QvrkPayload& p = o.payload;
    for (int t = 0; t < QVRK_TEXT_COUNT; t++)
        printf("%s: %s\n", kTextNames[t], Text(p, QvrkSettingsText(t)).c_str());
    printf("flags: 0x%03X", p.numbers.flags);
    for (int b = 0; b < 10; b++)
        if (p.numbers.flags & (1u << b))
            printf(" %s", kFlagNames[b]);
    printf("\nbackground_color: %s\npreview_color: %s\n",
           CliColorRefText(p.numbers.background_color).c_str(),
           CliColorRefText(p.numbers.preview_color).c_str());
    printf("seed: %u\nfile_count: %d\nslot_count: %d\nslots:", p.seed, p.numbers.file_count,
           p.numbers.slot_count);
    for (int32_t s : o.slots)
        printf(" %d", s);
    printf("\nsettings_file: %d\npreview_file: %d\n", p.settings_file, p.preview_file);
    for (size_t i = 0; i < o.entries.size(); i++) {
        const QvrkEntryRecord& r = o.entries[i].record;
        printf("entry %zu: %ux%u stored %u original %u size_mode %u quality %u name \"%s\"\n", i,
               r.width, r.height, r.stored_size, r.original_size, r.size_mode, r.quality,
               CliAnsiToTerminal(r.name).c_str());
    }
}

void PrintJson(const OpenedPayload& o) {
    const QvrkPayload& p = o.payload;
    printf("{\n");
    for (int t = 0; t < QVRK_TEXT_COUNT; t++)
        printf("  \"%s\": %s,\n", kTextNames[t],
               CliJsonString(Text(p, QvrkSettingsText(t))).c_str());
    printf("  \"flags\": {");
    for (int b = 0; b < 10; b++)
        printf("%s\"%s\": %s", b ? ", " : "", kFlagNames[b],
               p.numbers.flags & (1u << b) ? "true" : "false");
    printf("},\n  \"background_color\": \"%s\",\n  \"preview_color\": \"%s\",\n",
           CliColorRefText(p.numbers.background_color).c_str(),
           CliColorRefText(p.numbers.preview_color).c_str());
    printf("  \"seed\": %u,\n  \"slots\": [", p.seed);
    for (size_t i = 0; i < o.slots.size(); i++)
        printf("%s%d", i ? ", " : "", o.slots[i]);
    printf("],\n  \"settings_file\": %d,\n  \"preview_file\": %d,\n  \"entries\": [",
           p.settings_file, p.preview_file);
    for (size_t i = 0; i < o.entries.size(); i++) {
        const QvrkEntryRecord& r = o.entries[i].record;
        printf(
            "%s\n    {\"width\": %u, \"height\": %u, \"stored_size\": %u, \"original_size\": %u, "
            "\"size_mode\": %u, \"quality\": %u, \"name\": %s}",
            i ? "," : "", r.width, r.height, r.stored_size, r.original_size, r.size_mode, r.quality,
            CliJsonString(CliAnsiToTerminal(r.name)).c_str());
    }
    printf("\n  ]\n}\n");
}

} // namespace

int CliInfo(int argc, char** argv) {
    const char* path = nullptr;
    bool json = false;
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(kInfoHelp, stdout);
            return CLI_OK;
        } else if (strcmp(argv[i], "--json") == 0) {
            json = true;
        } else if (argv[i][0] != '-' && !path) {
            path = argv[i];
        } else {
            return CliError(CLI_USAGE, "info: unexpected argument \"%s\"\n%s", argv[i], kInfoHelp);
        }
    }
    if (!path)
        return CliError(CLI_USAGE, "info: a screensaver file is needed\n%s", kInfoHelp);
    KZString file;
    if (!CliPathArgument(path, file))
        return CLI_FAILED;
    OpenedPayload opened;
    int status = OpenPayload(file, opened);
    if (status != CLI_OK)
        return status;
    if (json)
        PrintJson(opened);
    else
        PrintText(opened);
    std::vector<std::string> problems = NameProblems(opened);
    for (size_t i = 0; i < problems.size(); i++)
        if (!problems[i].empty())
            fprintf(stderr, "scrkit-cli: entry %zu: %s\n", i, problems[i].c_str());
    return CLI_OK;
}

namespace {

// Writes a file that was not there: with `force` an earlier file (or link, which is removed, never
// followed) of that name goes first; a folder never does. The message names the file.
bool WriteNewFile(const std::string& target, const uint8_t* data, uint32_t size, bool force) {
    std::string shown = CliAnsiToTerminal(target.c_str());
    if (force && KZNameTaken(target.c_str()) && !KZFolderExists(target.c_str()))
        KZDeleteFile(target.c_str());
    KZFile out = CreateNewFile(target.c_str());
    if (!out) {
        CliError(CLI_FAILED, "Unable to write file:\n%s", shown.c_str());
        return false;
    }
    bool ok = size == 0 || WriteToFile(data, int(size), out) == int(size);
    CloseFile(out);
    if (!ok) {
        KZDeleteFile(target.c_str());
        CliError(CLI_FAILED, "Unable to write file:\n%s", shown.c_str());
    }
    return ok;
}

} // namespace

int CliExtract(int argc, char** argv) {
    const char* path = nullptr;
    const char* folder = nullptr;
    bool force = false;
    for (int i = 0; i < argc; i++) {
        if (CliIsHelp(argv[i])) {
            fputs(kExtractHelp, stdout);
            return CLI_OK;
        } else if (strcmp(argv[i], "-d") == 0 && i + 1 < argc) {
            folder = argv[++i];
        } else if (strcmp(argv[i], "--force") == 0) {
            force = true;
        } else if (argv[i][0] != '-' && !path) {
            path = argv[i];
        } else {
            return CliError(CLI_USAGE, "extract: unexpected argument \"%s\"\n%s", argv[i],
                            kExtractHelp);
        }
    }
    if (!path || !folder)
        return CliError(CLI_USAGE, "extract: a screensaver file and -d DIR are needed\n%s",
                        kExtractHelp);
    // The stored names are Windows-1252 bytes, as Windows writes them: joined to the folder in the
    // ANSI code page, they become the system's own names (UTF-8 on POSIX) as the file is written.
    KZString file, folder_path;
    if (!CliPathArguments({{path, &file}, {folder, &folder_path}}))
        return CLI_FAILED;
    OpenedPayload opened;
    int status = OpenPayload(file, opened);
    if (status != CLI_OK)
        return status;
    std::string base = folder_path.c_str();
    if (!base.empty() && base.back() != '/' && base.back() != '\\')
        base += '/';

    // Every target first, so that a refusal writes nothing. A name used twice (a stored
    // "item-1.bin" and the unnamed entry 1) would have the second replace the first.
    std::vector<std::string> problems = NameProblems(opened);
    std::vector<std::string> names(opened.entries.size());
    for (uint32_t i = 0; i < opened.entries.size(); i++) {
        const QvrkEntry& entry = opened.entries[i];
        if (entry.record.name[0] && problems[i].empty()) {
            names[i] = entry.record.name;
        } else {
            if (!problems[i].empty())
                fprintf(stderr, "scrkit-cli: entry %u: %s; written as item-%u.bin\n", i,
                        problems[i].c_str(), i);
            names[i] = "item-" + std::to_string(i) + ".bin";
        }
        for (uint32_t j = 0; j < i; j++)
            if (FCSameStoredName(names[i].c_str(), names[j].c_str()))
                return CliError(CLI_FAILED, "entries %u and %u would both be written as %s", j, i,
                                CliAnsiToTerminal(names[i].c_str()).c_str());
        std::string target = base + names[i];
        // A stored name equal to the screensaver's own, extracted beside it, would replace it.
        CliReporter reporter;
        if (!FCCheckOutputIsNoInput(target.c_str(), {{file, "screensaver"}}, reporter))
            return CLI_FAILED;
        if (KZNameTaken(target.c_str()) && (!force || KZFolderExists(target.c_str())))
            return CliError(
                CLI_FAILED, "Unable to write file, since one of that name is there%s:\n%s",
                force ? "" : " (--force replaces it)", CliAnsiToTerminal(target.c_str()).c_str());
    }
    if (!KZCreateFolders(folder_path))
        return CliError(CLI_FAILED, "Unable to create folder:\n%s", folder);

    for (uint32_t i = 0; i < opened.entries.size(); i++) {
        const QvrkEntry& entry = opened.entries[i];
        uint32_t size = qvrk_payload_item_size(&opened.payload, i);
        // Every item is at most its stored bytes, or what the file's compressed bytes claim;
        // the claim is refused beyond what deflate can reach.
        if (!qvrk_payload_item_size_possible(&opened.payload, i))
            return CliError(CLI_FAILED, "entry %u of %s claims an impossible size", i, path);
        std::vector<uint8_t> data(size_t(size) + 1);
        // Only compressed scrambled data needs a copy to unscramble in; the rest is read or
        // inflated straight from the image.
        std::vector<uint8_t> scratch;
        if (qvrk_payload_compressed(&opened.payload) && qvrk_payload_scrambled(&opened.payload))
            scratch.resize(size_t(entry.record.stored_size) + 1);
        QvrkPayloadResult result = qvrk_payload_decode_item(
            &opened.payload, i, &opened.work, data.data(), size, scratch.data(), scratch.size());
        if (result != QVRK_PAYLOAD_OK)
            return CliError(CLI_FAILED, "entry %u of %s: %s", i, path,
                            qvrk_payload_result_text(result));
        std::string target = base + names[i];
        if (!WriteNewFile(target, data.data(), size, force))
            return CLI_FAILED;
        printf("%s\n", CliAnsiToTerminal(target.c_str()).c_str());
    }
    return CLI_OK;
}
