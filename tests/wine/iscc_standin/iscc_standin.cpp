// A stand-in for the Inno Setup command-line compiler, for tests only.
//
//   iscc_standin SCRIPT        checks the script as the builder writes it and "compiles" it: the
//                              setup program is a copy of this program, written at OutputDir +
//                              OutputBaseFilename + ".exe". Relative paths start from the
//                              script's folder, as the real compiler's source folder does.
//   iscc_standin               (no arguments: run as that setup program) appends "setup ran" to
//                              the file named by ISCC_STANDIN_SETUP_LOG.
//   iscc_standin --emit        prints the runner's test output (see Emit).
//   iscc_standin --sleep MS    prints one line, then sleeps.
//
// ISCC_STANDIN_FAIL=1 makes a compile fail after the checks; ISCC_STANDIN_LOG names a file that
// receives the script path of every compile, ISCC_STANDIN_SCRIPT_COPY one that receives the text
// of the last script (the builder deletes its own).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "media/base/kz_platform.h"

namespace {

std::string self_path;

void SleepMs(unsigned ms) {
#ifdef _WIN32
    Sleep(ms);
#else
    usleep(useconds_t(ms) * 1000);
#endif
}

bool ReadFile(const std::string& path, std::string* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char block[65536];
    size_t n;
    out->clear();
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        out->append(block, n);
    fclose(f);
    return true;
}

bool WriteFile(const std::string& path, const std::string& data) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}

std::string ProgramPath(const char* argv0) {
#ifdef _WIN32
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return n ? std::string(buffer, n) : std::string(argv0);
#else
    char buffer[4096];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string(argv0);
#endif
}

// Output for the runner's tests: a line longer than one 4,096-byte read, CR LF endings, a line on
// standard error, and a last line without a line feed. Flushed piecemeal so that lines cross
// reads.
int Emit() {
#ifdef _WIN32
    // Exactly these bytes: a text-mode stream would turn each "\r\n" into "\r\r\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    std::string long_line(10000, 'x');
    long_line[0] = '<';
    long_line[9999] = '>';
    fputs("first\r\n", stdout);
    fflush(stdout);
    fputs(long_line.c_str(), stdout);
    fputs("\n", stdout);
    fflush(stdout);
    fputs("to stderr\n", stderr);
    fflush(stderr);
    fputs("\r\n", stdout);
    fputs("split ", stdout);
    fflush(stdout);
    SleepMs(50);
    fputs("line\r\nlast without line feed", stdout);
    fflush(stdout);
    return 3;
}

struct Failure {
    int line = 0;
    std::string message;
};

// The script's lines (CR LF or LF), without their endings.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The quoted value of `key: "..."` in a row, with "" standing for one quotation mark.
bool Quoted(const std::string& row, const std::string& key, std::string* value) {
    size_t at = row.find(key + ": \"");
    if (at == std::string::npos)
        return false;
    value->clear();
    for (size_t i = at + key.size() + 3; i < row.size(); i++) {
        if (row[i] == '"') {
            if (i + 1 < row.size() && row[i + 1] == '"') {
                value->push_back('"');
                i++;
                continue;
            }
            return true;
        }
        value->push_back(row[i]);
    }
    return false;
}

bool Exists(const std::string& path) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    fclose(f);
    return true;
}

bool IsBitmap(const std::string& path) {
    std::string data;
    return ReadFile(path, &data) && data.size() > 54 && data[0] == 'B' && data[1] == 'M';
}

// The folder relative paths of the script start from, as the real compiler's source folder.
std::string source_folder;

// A path of the script as this program opens it: relative ones from the script's folder, with
// the separator of the platform. The script's paths are in the ANSI code page, as the real
// compiler reads them; the result is the system's name.
std::string Resolve(std::string path) {
    bool absolute = (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
                    (path.size() > 1 && path[1] == ':');
    if (!absolute) {
        while (path.compare(0, 2, ".\\") == 0 || path.compare(0, 2, "./") == 0)
            path.erase(0, 2);
        path = source_folder + path;
    }
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\')
            c = '/';
#endif
    KZString name;
    return KZToSystemName(path.c_str(), name) ? std::string(name.c_str()) : std::string();
}

bool Check(const std::vector<std::string>& lines, std::map<std::string, std::string>* setup,
           Failure* failure) {
    std::string section;
    bool languages = false;
    auto fail = [&](size_t index, const std::string& message) {
        failure->line = int(index) + 1;
        failure->message = message;
        return false;
    };
    for (size_t i = 0; i < lines.size(); i++) {
        const std::string& line = lines[i];
        if (line.empty())
            continue;
        if (line[0] == '[') {
            section = line;
            continue;
        }
        if (section == "[Setup]") {
            size_t eq = line.find('=');
            if (eq == std::string::npos)
                return fail(i, "Invalid directive line");
            std::string key = line.substr(0, eq);
            std::string value = line.substr(eq + 1);
            (*setup)[key] = value;
            if ((key == "LicenseFile" || key == "WizardImageFile" ||
                 key == "WizardSmallImageFile") &&
                !Exists(Resolve(value)))
                return fail(i, "Could not read \"" + value + "\"");
            if ((key == "WizardImageFile" || key == "WizardSmallImageFile") &&
                !IsBitmap(Resolve(value)))
                return fail(i, "Not a bitmap file: \"" + value + "\"");
        } else if (section == "[Languages]") {
            std::string name, file;
            if (!Quoted(line, "Name", &name) || !Quoted(line, "MessagesFile", &file) ||
                file.compare(0, 9, "compiler:") != 0)
                return fail(i, "Invalid language entry");
            languages = true;
        } else if (section == "[Files]") {
            std::string source, dest;
            if (!Quoted(line, "Source", &source) || !Quoted(line, "DestDir", &dest))
                return fail(i, "Parameter \"Source\" or \"DestDir\" missing");
            if (!Exists(Resolve(source)))
                return fail(i, "Source file \"" + source + "\" does not exist");
        } else if (section == "[Icons]") {
            std::string name, file;
            if (!Quoted(line, "Name", &name) || !Quoted(line, "Filename", &file))
                return fail(i, "Parameter \"Name\" or \"Filename\" missing");
        } else if (section == "[Run]") {
            std::string file;
            if (!Quoted(line, "Filename", &file))
                return fail(i, "Parameter \"Filename\" missing");
        } else if (section == "[UninstallDelete]") {
            std::string name;
            if (!Quoted(line, "Name", &name))
                return fail(i, "Parameter \"Name\" missing");
        } else {
            return fail(i, "Text is not inside a section");
        }
    }
    const char* required[] = {"AppName",          "AppVerName",          "DefaultDirName",
                              "DefaultGroupName", "OutputDir",           "OutputBaseFilename",
                              "WizardImageFile",  "WizardSmallImageFile"};
    for (const char* key : required)
        if (setup->find(key) == setup->end())
            return fail(lines.size(), std::string("Required [Setup] directive missing: ") + key);
    if (!languages)
        return fail(lines.size(), "No [Languages] entry");
    return true;
}

int Compile(const std::string& script_path) {
    if (const char* log = getenv("ISCC_STANDIN_LOG")) {
        FILE* f = fopen(log, "ab");
        if (f) {
            fprintf(f, "%s\n", script_path.c_str());
            fclose(f);
        }
    }
    size_t cut = script_path.find_last_of("/\\");
    source_folder = cut == std::string::npos ? std::string() : script_path.substr(0, cut + 1);
    // The folder is the system's name; the script's relative paths are joined to it in ANSI.
    KZString folder;
    if (!KZFromSystemName(source_folder.c_str(), folder)) {
        printf("Error: Script folder \"%s\" has no ANSI name.\n", source_folder.c_str());
        return 1;
    }
    source_folder = folder.c_str();
    std::string text;
    if (!ReadFile(script_path, &text)) {
        printf("Error: Script file \"%s\" does not exist.\n", script_path.c_str());
        return 1;
    }
    if (const char* copy = getenv("ISCC_STANDIN_SCRIPT_COPY"))
        WriteFile(copy, text);
    printf("Compiler engine version: stand-in 5\n\n");
    std::map<std::string, std::string> setup;
    Failure failure;
    std::vector<std::string> lines = Lines(text);
    printf("[ISPP] Preprocessing.\nParsing [Setup] section, line 1\n");
    if (!Check(lines, &setup, &failure)) {
        printf("Error on line %d in %s: %s\nCompile aborted.\n", failure.line, script_path.c_str(),
               failure.message.c_str());
        return 2;
    }
    const char* fail = getenv("ISCC_STANDIN_FAIL");
    if (fail && *fail && strcmp(fail, "0") != 0) {
        printf("Error on line 1 in %s: Failure requested\nCompile aborted.\n", script_path.c_str());
        return 2;
    }
    std::string output = Resolve(setup["OutputDir"] + setup["OutputBaseFilename"] + ".exe");
    std::string program;
    if (!ReadFile(self_path, &program) || !WriteFile(output, program)) {
        printf("Error: Could not create \"%s\"\nCompile aborted.\n", output.c_str());
        return 2;
    }
    printf("Compressing: %s\n\nSuccessful compile (0 sec). Resulting Setup program filename is:\n"
           "%s\n",
           output.c_str(), output.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    self_path = ProgramPath(argv[0]);
    if (argc == 1) {
        if (const char* log = getenv("ISCC_STANDIN_SETUP_LOG")) {
            FILE* f = fopen(log, "ab");
            if (f) {
                fputs("setup ran\n", f);
                fclose(f);
            }
        }
        return 0;
    }
    if (argc == 2 && strcmp(argv[1], "--emit") == 0)
        return Emit();
    if (argc == 3 && strcmp(argv[1], "--sleep") == 0) {
        puts("sleeping");
        fflush(stdout);
        SleepMs(unsigned(atoi(argv[2])));
        return 0;
    }
    // The banner: three lines that the builder's error report leaves out.
    printf("Inno Setup 5 Command-Line Compiler (stand-in for tests)\n");
    printf("Copyright (C) nobody; this program only checks scripts\n");
    printf("\n");
    if (argc != 2) {
        printf("Usage: iscc_standin SCRIPT\n");
        return 1;
    }
    int status = Compile(argv[1]);
    fflush(stdout);
    return status;
}
