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
        changeSubscription =
            editor->history().onChange([this](const DocumentChange& c) { changes.push_back(c); });
        dialogs.clear();
    }
    void TearDown() override {
        modal.stop();
        EditorTest::TearDown();
    }
    // The mesh the commands work on, without re-centring the view.
    void showMesh(int slot) {
        render().scene().currentMesh = slot;
        editor->selection().setMeshSlot(slot);
    }
    // The recorded changes were `count` changes of the shown mesh only (and of
    // the statics when `statics`).
    void expectChangesOfShownMesh(std::size_t count, bool statics = false) {
        ASSERT_EQ(changes.size(), count);
        for (const DocumentChange& c : changes) {
            EXPECT_EQ(c.meshSlots, std::vector<int>{editor->selection().meshSlot()});
            EXPECT_EQ(c.statics, statics);
            EXPECT_FALSE(c.meshTables || c.touchesTextures());
        }
    }
    Mesh& mesh(int slot) { return editor->document().meshes[std::size_t(slot)]; }
    // The texts of the message boxes of one kind, in order.
    std::vector<std::string> textsOf(Kind kind) {
        std::vector<std::string> texts;
        for (const auto& call : dialogs.callsOf(kind))
            texts.push_back(call.text);
        return texts;
    }

    std::vector<DocumentChange> changes;
    Subscription changeSubscription;
    ModalAnswer modal;
};

} // namespace kavlen
