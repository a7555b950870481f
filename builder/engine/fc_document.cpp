#include "builder/engine/fc_document.h"

#include "builder/engine/fc_field_table.h"
#include "builder/engine/fc_project_file.h"
#include "media/base/kz_file.h"
#include "media/base/kz_folder.h"
#include "media/base/kz_platform.h"

const char* const placeholder_url = "http://www.example-screensaver.invalid/";

uint32_t FCColorToColorRef(const FCColor& color) {
    auto channel = [](float value) -> uint32_t {
        // Truncation of value * 255 + 0.5, kept within a byte for values outside 0 to 1.
        float scaled = value * 255.0f + 0.5f;
        if (!(scaled > 0.0f))
            return 0;
        if (scaled >= 255.0f)
            return 255;
        return static_cast<uint32_t>(scaled);
    };
    return channel(color.red) | (channel(color.green) << 8) | (channel(color.blue) << 16);
}

bool FCCopyStringList(FCStringList& to, const FCStringList& from) {
    if (&to == &from)
        return true;
    to.RemoveAll();
    for (int i = 0; i < from.GetCount(); ++i)
        if (!to.Add(from[i]))
            return false;
    return true;
}

namespace {

int LastSeparator(const char* path) {
    int last = -1;
    for (int i = 0; path[i] != '\0'; ++i)
        if (path[i] == '\\' || path[i] == '/')
            last = i;
    return last;
}

} // namespace

KZString FCFileNamePart(const char* path) {
    if (path == nullptr)
        return KZString();
    return KZString(path + LastSeparator(path) + 1);
}

KZString FCFolderPart(const char* path) {
    if (path == nullptr)
        return KZString();
    return KZString(path, LastSeparator(path) + 1);
}

bool FCIsRelativePath(const char* path) {
    if (path == nullptr || path[0] == '\0' || path[0] == '/' || path[0] == '\\')
        return false;
    bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                 path[1] == ':';
    return !drive;
}

FCDocumentFields& FCDocumentFields::operator=(const FCDocumentFields& o) {
    if (this == &o)
        return *this;
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i)
        FCCopyField(fields[i], *this, o);
    return *this;
}

void FCDocumentFields::set_defaults() {
    // In table order: a default made from other fields comes after them.
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i)
        FCSetFieldDefault(fields[i], *this);
}

FCDocument::FCDocument(FCResources* resources) {
    load_default_wizard_images(resources);
}

FCDocument::~FCDocument() {
    release_wizard_images();
    release_default_wizard_images();
}

void FCDocument::remember_relative_paths(const FCDocumentFields& stored, const char* project) {
    stored_relative.RemoveAll();
    resolved_relative.RemoveAll();
    relative_folder = FCFolderPart(KZFullPath(project));
    auto remember = [&](const KZString& before, const KZString& after) {
        if (FCIsRelativePath(before) && before != after) {
            stored_relative.Add(before);
            resolved_relative.Add(after);
        }
    };
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        const FCField& f = fields[i];
        if (f.kind == FC_FIELD_PATH) {
            remember(f.text_of(stored), f.text_of(*this));
        } else if (f.kind == FC_FIELD_LIST) {
            const FCStringList& before = f.list_of(stored);
            const FCStringList& after = f.list_of(*this);
            for (int e = 0; e < before.GetCount() && e < after.GetCount(); ++e)
                remember(before[e], after[e]);
        }
    }
}

FCDocumentFields FCDocument::as_stored_in(const char* path) const {
    FCDocumentFields out(*this);
    // Elsewhere the relative forms would name other files: the full paths are written instead.
    if (stored_relative.GetCount() == 0 ||
        !KZSameFile(FCFolderPart(KZFullPath(path)), relative_folder))
        return out;
    auto restore = [&](KZString& value) {
        for (int k = 0; k < resolved_relative.GetCount(); ++k)
            if (value == resolved_relative[k]) {
                value = stored_relative[k];
                return;
            }
    };
    int count = 0;
    const FCField* fields = FCFields(&count);
    for (int i = 0; i < count; ++i) {
        const FCField& f = fields[i];
        if (f.kind == FC_FIELD_PATH) {
            restore(f.text_of(out));
        } else if (f.kind == FC_FIELD_LIST) {
            FCStringList& list = f.list_of(out);
            for (int e = 0; e < list.GetCount(); ++e)
                restore(list[e]);
        }
    }
    return out;
}

void FCDocument::reset() {
    stored_relative.RemoveAll();
    resolved_relative.RemoveAll();
    relative_folder = "";
    set_defaults();
    release_wizard_images();
    modified = false;
}

void FCDocument::relocate_file(KZString& path) const {
    if (path.IsEmpty() || path_name.IsEmpty())
        return;
    if (FCIsRelativePath(path)) {
        // The project's own folder in full: the project may have been named from the current
        // folder, which is no part of what the project means.
        KZString resolved = FCFolderPart(KZFullPath(path_name));
        resolved += path;
        path = resolved;
    }
    if (KZFileOpensForRead(path))
        return;
    KZString moved = FCFolderPart(path_name);
    moved += FCFileNamePart(path);
    if (KZFileOpensForRead(moved))
        path = moved;
}

bool FCDocument::read_movie_background(const char* movie_path) {
    return FCReadMovieBackgroundColor(movie_path, movie_background_color);
}

int FCDocument::effective_end_launch_index() const {
    if (end_launch_index >= 0 && end_launch_index < additional_files.GetCount())
        return end_launch_index;
    return -1;
}
