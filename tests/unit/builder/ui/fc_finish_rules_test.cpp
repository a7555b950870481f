#include "builder/ui/pages/fc_finish_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(FCFinishRules, ExportNameIsTheProjectFileNameWithTheOutputsExtension) {
    const struct {
        const char* project;
        const char* extension;
        const char* proposed;
    } cases[] = {
        {"C:\\p\\Demo.kpj", ".exe", "Demo.exe"},
        {"C:\\p\\Demo.kpj", ".scr", "Demo.scr"},
        {"", ".scr", ""}, // an unsaved project proposes nothing
        {nullptr, ".exe", ""},
        {"C:\\my.projects\\Demo", ".scr", "Demo.scr"}, // a dot in a folder is no extension
        {"C:\\p\\Demo.v2.kpj", ".exe", "Demo.v2.exe"}, // only the last extension goes
        {"/home/a/Demo.kpj", ".scr", "Demo.scr"},
        {"C:Demo.kpj", ".scr", "Demo.scr"},
        {"\\\\server\\share\\My Saver.kpj", ".exe", "My Saver.exe"},
        {"C:\\p\\.kpj", ".exe", ""}, // no name left to propose
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.project ? c.project : "(null)");
        EXPECT_EQ(std::string((const char*)FCExportFileName(c.project, c.extension)), c.proposed);
    }
}
