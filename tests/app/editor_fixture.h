// An editor started for real on scripted dialogs, with its settings file and data
// folder in a fresh temporary folder.
#pragma once

#include "app/editor.h"
#include "app/main_window.h"
#include "app/menu_builder.h"
#include "app/render_window.h"
#include "app/scripted_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace kavlen {

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct EditorTest : testing::Test {
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("kavlen_" + std::string(info->name()) + "_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        locations.settingsFile = dir / "kavlen3.INI";
        locations.dataDirs = {dir};
    }

    void TearDown() override {
        editor.reset();
        std::filesystem::remove_all(dir);
    }

    void start() {
        editor = std::make_unique<Editor>(dialogs, locations);
        ASSERT_TRUE(editor->start(true));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor->mainWindow()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return editor->renderWindow().isVisible(); }));
    }

    // A copy of the demo package in the test folder.
    std::string demoCopy(const std::string& name) {
        const auto path = dir / name;
        std::filesystem::create_directories(path.parent_path());
        std::filesystem::copy_file(std::filesystem::path(KAVLEN_SAMPLES_DIR) / "demo.wad", path,
                                   std::filesystem::copy_options::overwrite_existing);
        return path.string();
    }

    QAction* action(CommandId id) { return editor->menus().action(id); }
    MainWindow& main() { return editor->mainWindow(); }
    RenderWindow& render() { return editor->renderWindow(); }
    std::string title() { return main().windowTitle().toStdString(); }

    std::filesystem::path dir;
    AppLocations locations;
    ScriptedDialogs dialogs;
    std::unique_ptr<Editor> editor;
};

} // namespace kavlen
