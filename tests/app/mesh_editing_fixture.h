// An editor with the demo package open, recording what each command touched,
// with an answerer for the modal dialogs the mesh commands open.
#pragma once

#include "editor_fixture.h"
#include "modal_answer.h"

#include <string>
#include <vector>

namespace kavlen {

struct MeshEditingTest : EditorTest {
    using Kind = ScriptedDialogs::Kind;

    void openDemo() {
        start();
        ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
        editor->addDocumentChangedListener([this](unsigned t) { touches.push_back(t); });
        dialogs.clear();
    }
    void TearDown() override {
        modal.stop();
        EditorTest::TearDown();
    }
    void showMesh(int slot) { render().scene().currentMesh = slot; }
    Mesh& mesh(int slot) { return editor->document().meshes[std::size_t(slot)]; }
    // The texts of the message boxes of one kind, in order.
    std::vector<std::string> textsOf(Kind kind) {
        std::vector<std::string> texts;
        for (const auto& call : dialogs.callsOf(kind))
            texts.push_back(call.text);
        return texts;
    }

    std::vector<unsigned> touches;
    ModalAnswer modal;
};

} // namespace kavlen
