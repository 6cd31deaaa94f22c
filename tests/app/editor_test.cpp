// The editor's windows and document lifecycle, driven through menus, shortcuts,
// drops and scripted dialogs.
#include "editor_fixture.h"
#include "view3d/mesh_scene.h"

#include "view3d/gl_view.h"
#include "view3d/mesh_bounds.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <clocale>
#include <set>

namespace kavlen {
namespace {

using Kind = ScriptedDialogs::Kind;

TEST_F(EditorTest, StartsWithTheMainWindowMaximisedAndTheRenderWindowBesideIt) {
    start();
    EXPECT_EQ(title(), "Kavlen3");
    EXPECT_TRUE(main().windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(render().windowTitle(), "Render window");
    EXPECT_TRUE(render().isVisible());
    EXPECT_FALSE(editor->packageLoaded());

    const QRect screen = render().screen()->geometry();
    EXPECT_EQ(render().pos(), screen.topLeft() + QPoint(420, 22));
    EXPECT_EQ(render().width(), screen.width() - 420);
    EXPECT_EQ(render().height(), screen.height() - 42 - 22);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(EditorTest, WithoutOpenGLTheEditorSaysSoAndDoesNotStart) {
    Editor failing(dialogs, locations);
    EXPECT_FALSE(failing.start(false));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::Error);
    EXPECT_EQ(dialogs.calls()[0].text, "OPENGL drivers not found!");
}

TEST_F(EditorTest, MenusCarryCaptionsAccessKeysShortcutsAndChecks) {
    start();
    struct Expected {
        CommandId id;
        const char* caption;
        const char* shortcut;
    };
    for (const Expected& e :
         {Expected{"Open", "&Open", "F3"}, Expected{"Save", "&Save", "Ctrl+S"},
          Expected{"SaveAs", "Save &As", "F2"}, Expected{"Exit", "E&xit", "Ctrl+X"},
          Expected{"ShowAxes", "Show &Axes", "Ctrl+A"},
          Expected{"ShowGrid", "Show &Grid", "Ctrl+G"}}) {
        QAction* a = action(e.id);
        ASSERT_NE(a, nullptr) << e.id;
        EXPECT_EQ(a->text().toStdString(), e.caption);
        EXPECT_EQ(a->shortcut().toString(QKeySequence::PortableText).toStdString(), e.shortcut);
    }
    EXPECT_TRUE(action("ShowAxes")->isCheckable());
    EXPECT_TRUE(action("QueryOnClose")->isCheckable());
    EXPECT_FALSE(action("ShowAllMeshes")->isVisible());
    EXPECT_FALSE(action("OpenRecent")->isEnabled());
    EXPECT_TRUE(editor->menus().submenu("OpenRecent")->actions().isEmpty());

    QStringList menus;
    for (QAction* a : main().menuBar()->actions())
        menus << a->text();
    // The menus that have commands, in the menu bar's fixed order.
    QStringList inOrder;
    for (const char* m : {kMenuFile, kMenuEdit, kMenuTextures, kMenuPoints, kMenuFaces, kMenuView,
                          kMenuOptions, kMenuHelp})
        if (menus.contains(m))
            inOrder << m;
    EXPECT_EQ(menus, inOrder);
    for (const char* m : {kMenuFile, kMenuEdit, kMenuTextures, kMenuView, kMenuOptions, kMenuHelp})
        EXPECT_TRUE(menus.contains(m)) << m;
    // Exit sits below a separator, after the other file commands.
    const QList<QAction*> file = editor->menus().menu(kMenuFile)->actions();
    ASSERT_GE(file.size(), 2);
    EXPECT_TRUE(file[file.size() - 2]->isSeparator());
    EXPECT_EQ(file.back(), action("Exit"));
}

TEST_F(EditorTest, EveryGuardedCommandSaysNoWadOpenedAndDoesNothingElse) {
    start();
    int guarded = 0;
    for (const Command& c : editor->commands().commands()) {
        // A disabled command (Cut from Shape at start) cannot be triggered at all.
        if (c.guard != Guard::RequiresPackage || !c.enabled)
            continue;
        ++guarded;
        dialogs.clear();
        // Commands without a menu item (buttons) run through the table.
        if (QAction* a = action(c.id))
            a->trigger();
        else
            editor->commands().execute(c.id);
        ASSERT_EQ(dialogs.calls().size(), 1u) << c.id;
        EXPECT_EQ(dialogs.calls()[0].kind, Kind::Error) << c.id;
        EXPECT_EQ(dialogs.calls()[0].text, "No wad opened.") << c.id;
    }
    EXPECT_GE(guarded, 2); // Save and Save As at least
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 0)
        << "nothing may be written";
}

TEST_F(EditorTest, OpenReadsThePackageAndRefillsTitlesStatusAndRecentFiles) {
    start();
    const std::string path = demoCopy("demo.wad");
    std::string titleWhileLoading;
    editor->openProcedure().addStep(OpenStage::ClearRenderWindow,
                                    [&](Package&) { titleWhileLoading = title(); });
    // What the clearing steps left, before the first mesh is shown.
    QString renderTitleWhenCleared;
    QStringList statusWhenCleared;
    editor->openProcedure().addStep(OpenStage::FillMeshList, [&](Package&) {
        renderTitleWhenCleared = render().windowTitle();
        for (int i = 0; i < 3; ++i)
            statusWhenCleared << main().statusText(i);
    });
    for (int i = 0; i < 3; ++i)
        main().setStatusText(i, "old");
    render().setWindowTitle("Render window - Mesh#: 1");
    bool announced = false;
    QObject::connect(editor.get(), &Editor::packageOpened, [&] { announced = true; });

    dialogs.answerFile(path);
    action("Open")->trigger();

    const auto opens = dialogs.callsOf(Kind::OpenFile);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].file.filter, "TRLE wad file (*.wad)");
    EXPECT_EQ(titleWhileLoading, "Kavlen3 - Loading...");
    EXPECT_EQ(title(), "Kavlen3 - " + path);
    EXPECT_EQ(renderTitleWhenCleared, "Render window");
    EXPECT_EQ(editor->documentPath(), path);
    EXPECT_TRUE(editor->document().isLoaded());
    EXPECT_TRUE(announced);
    EXPECT_EQ(statusWhenCleared, (QStringList{"", "", ""}));
    EXPECT_EQ(render().currentMesh(), 0);
    EXPECT_EQ(render().viewport().ignoreName, 1501u);
    // The view is fitted to mesh 0, centred on the origin.
    SceneFigure mesh0;
    setFigureBoundsToMesh(mesh0, editor->document().meshes[0]);
    for (int i = 0; i < 3; ++i) {
        const double shift = -(mesh0.boundMin[i] + mesh0.boundMax[i]) / 2;
        EXPECT_EQ(render().viewport().boundMin[i], mesh0.boundMin[i] + shift);
        EXPECT_EQ(render().viewport().boundMax[i], mesh0.boundMax[i] + shift);
        mesh0.boundMax[i] += shift;
    }
    EXPECT_FLOAT_EQ(render().camera().posZ, static_cast<float>(mesh0.boundMax[2] + 4.0));
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{path});
    EXPECT_TRUE(action("OpenRecent")->isEnabled());
    EXPECT_EQ(editor->menus().submenu("OpenRecent")->actions().size(), 1);
    EXPECT_EQ(dialogs.calls().size(), 1u) << "no message after a good open";
}

TEST_F(EditorTest, AnOpenDoesNotStartWhileAnotherIsRunning) {
    start();
    const std::string first = demoCopy("first.wad");
    const std::string second = demoCopy("second.wad");
    bool nestedOpened = true;
    editor->openProcedure().addStep(OpenStage::FillObjectLists, [&](Package&) {
        if (editor->documentPath().empty())
            nestedOpened = editor->openPackage(second);
    });
    ASSERT_TRUE(editor->openPackage(first));
    EXPECT_FALSE(nestedOpened);
    EXPECT_EQ(editor->documentPath(), first);
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{first});
}

TEST_F(EditorTest, CancellingTheOpenDialogChangesNothing) {
    start();
    dialogs.cancel();
    action("Open")->trigger();
    EXPECT_EQ(title(), "Kavlen3");
    EXPECT_FALSE(editor->packageLoaded());
    EXPECT_EQ(dialogs.unanswered(), 0u);
}

TEST_F(EditorTest, AFailedOpenLeavesThePreviousPackageAndTitleAsTheyWere) {
    start();
    const std::string good = demoCopy("good.wad");
    ASSERT_TRUE(editor->openPackage(good));
    const std::uint16_t meshCount = editor->document().meshCount;
    const std::string goodTitle = title();

    const auto wrong = dir / "wrong.wad";
    writeText(wrong, std::string("\x80\0\0\0junkjunk", 12));
    dialogs.clear();
    EXPECT_FALSE(editor->commands().execute("Open", wrong.string()) &&
                 editor->documentPath() != good);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::Information);
    EXPECT_EQ(dialogs.calls()[0].text, "Invalid Tomb Raider File Format!!");
    EXPECT_EQ(title(), goodTitle);
    EXPECT_EQ(editor->documentPath(), good);
    EXPECT_EQ(editor->document().meshCount, meshCount);

    const auto truncated = dir / "truncated.wad";
    const auto bytes = fileBytes(good);
    writeText(truncated, std::string(bytes.begin(), bytes.begin() + 100));
    dialogs.clear();
    EXPECT_FALSE(editor->openPackage(truncated.string()));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::Error);
    EXPECT_NE(dialogs.calls()[0].text.find("truncated.wad"), std::string::npos);
    EXPECT_EQ(title(), goodTitle);
    EXPECT_EQ(editor->document().meshCount, meshCount);
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{good});
}

TEST_F(EditorTest, AFailedFirstOpenLeavesNoPackage) {
    start();
    EXPECT_FALSE(editor->openPackage((dir / "missing.wad").string()));
    EXPECT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(title(), "Kavlen3");
    dialogs.clear();
    action("Save")->trigger();
    EXPECT_EQ(dialogs.calls()[0].text, "No wad opened.");
}

TEST_F(EditorTest, SaveRewritesTheOpenedFileWithoutAsking) {
    start();
    const std::string path = demoCopy("demo.wad");
    ASSERT_TRUE(editor->openPackage(path));
    const auto original = fileBytes(path);
    writeText(path, "overwritten by someone else");
    dialogs.clear();
    action("Save")->trigger();
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(fileBytes(path), original);
    EXPECT_EQ(title(), "Kavlen3 - " + path);
}

TEST_F(EditorTest, SaveAsWritesTheNewFileAndAdoptsItsPath) {
    start();
    const std::string first = demoCopy("first.wad");
    ASSERT_TRUE(editor->openPackage(first));
    const std::string second = (dir / "second.wad").string();
    dialogs.answerFile(second);
    action("SaveAs")->trigger();

    const auto saves = dialogs.callsOf(Kind::SaveFile);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0].file.filter, "TRLE wad file format (*.wad)");
    EXPECT_EQ(saves[0].file.defaultExtension, "wad");
    EXPECT_EQ(saves[0].file.startPath, first);
    EXPECT_EQ(fileBytes(second), fileBytes(first));
    EXPECT_EQ(title(), "Kavlen3 - " + second);
    EXPECT_EQ(editor->documentPath(), second);
    EXPECT_EQ(editor->recentFiles().paths(), (std::vector<std::string>{second, first}));
}

TEST_F(EditorTest, AFailedSaveAsKeepsTheOldPathAndSaysWhy) {
    start();
    const std::string first = demoCopy("first.wad");
    ASSERT_TRUE(editor->openPackage(first));
    dialogs.answerFile((dir / "no" / "such" / "folder.wad").string());
    action("SaveAs")->trigger();
    EXPECT_EQ(dialogs.callsOf(Kind::Error).size(), 1u);
    EXPECT_EQ(title(), "Kavlen3 - " + first);
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{first});

    dialogs.cancel();
    action("SaveAs")->trigger();
    EXPECT_EQ(editor->documentPath(), first);
}

TEST_F(EditorTest, RecentFilesKeepOneEntryPerPathAndTheFourLatest) {
    start();
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i)
        paths.push_back(demoCopy(std::to_string(i) + ".wad"));
    ASSERT_TRUE(editor->openPackage(paths[0]));
    ASSERT_TRUE(editor->openPackage(paths[0]));
    EXPECT_EQ(editor->recentFiles().paths(), std::vector<std::string>{paths[0]});
    for (int i = 1; i < 5; ++i)
        ASSERT_TRUE(editor->openPackage(paths[static_cast<std::size_t>(i)]));
    EXPECT_EQ(editor->recentFiles().paths(),
              (std::vector<std::string>{paths[4], paths[3], paths[2], paths[1]}));

    // Choosing an entry opens its file.
    QMenu* menu = editor->menus().submenu("OpenRecent");
    ASSERT_EQ(menu->actions().size(), 4);
    menu->actions()[3]->trigger();
    EXPECT_EQ(editor->documentPath(), paths[1]);
    EXPECT_EQ(editor->recentFiles().paths().front(), paths[1]);
}

TEST_F(EditorTest, RecentCaptionsAreShortenedAndShowAmpersands) {
    start();
    const std::string longPath =
        demoCopy("a rather long folder name/another long folder name/R&D levels/x.wad");
    ASSERT_TRUE(editor->openPackage(longPath));
    QMenu* menu = editor->menus().submenu("OpenRecent");
    ASSERT_EQ(menu->actions().size(), 1);
    const QString caption = menu->actions()[0]->text();
    EXPECT_TRUE(caption.endsWith("x.wad"));
    EXPECT_TRUE(caption.contains("..."));
    EXPECT_LE(QFontMetrics(menu->font()).horizontalAdvance(caption), 200);
    EXPECT_TRUE(caption.contains("R&&D")) << caption.toStdString();
}

TEST_F(EditorTest, MissingRecentFilesAreDroppedAtStart) {
    const std::string a = demoCopy("a.wad");
    const std::string b = demoCopy("b.wad");
    writeText(locations.settingsFile, "[MRUFiles]\r\nFile0=" + a + "\r\nFile1=" +
                                          (dir / "gone.wad").string() + "\r\nFile2=" + b + "\r\n");
    start();
    EXPECT_EQ(editor->recentFiles().paths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(editor->menus().submenu("OpenRecent")->actions().size(), 2);
    EXPECT_TRUE(action("OpenRecent")->isEnabled());
}

TEST_F(EditorTest, DroppingAPackageOnTheMainWindowOpensIt) {
    start();
    const std::string path = demoCopy("dropped.wad");
    const auto drop = [&](const std::string& file) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(&main(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&main(), &dropped);
        return true;
    };
    EXPECT_FALSE(drop((dir / "notes.txt").string()));
    EXPECT_TRUE(drop(path));
    EXPECT_TRUE(QTest::qWaitFor([&] { return editor->packageLoaded(); }));
    EXPECT_EQ(editor->documentPath(), path);
}

TEST_F(EditorTest, ExitWithoutQueryOnCloseClosesAndWritesTheSettings) {
    start();
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    action("Exit")->trigger();
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(render().isVisible());
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_TRUE(std::filesystem::exists(locations.settingsFile));
    EXPECT_FALSE(editor->document().isLoaded()) << "the document is released at close";
}

TEST_F(EditorTest, QueryOnCloseAsksOnlyWhileAPackageIsLoaded) {
    start();
    action("QueryOnClose")->trigger();
    ASSERT_TRUE(editor->commands().isChecked("QueryOnClose"));
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));

    dialogs.answer(false);
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    EXPECT_TRUE(editor->document().isLoaded());
    EXPECT_FALSE(std::filesystem::exists(locations.settingsFile));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, Kind::ConfirmOkCancel);
    EXPECT_EQ(dialogs.calls()[0].text, "Really close Kavlen?");

    dialogs.answer(true);
    EXPECT_TRUE(main().close());
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(std::filesystem::exists(locations.settingsFile));
}

TEST_F(EditorTest, QueryOnCloseWithoutAPackageClosesWithoutAQuestion) {
    start();
    action("QueryOnClose")->trigger();
    action("Exit")->trigger();
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(EditorTest, AnEndingSessionClosesWithoutAQuestionAndKeepsTheSettings) {
    start();
    action("QueryOnClose")->trigger();
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    editor->sessionEnding();
    EXPECT_TRUE(std::filesystem::exists(locations.settingsFile));
    EXPECT_TRUE(main().close());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(EditorTest, OpeningAPackageDrawsItsFirstMeshWithItsTextures) {
    start();
    render().show();
    QTest::qWait(1);
    render().view().grabFramebuffer(); // the context exists before the open

    dialogs.answerFile(demoCopy("demo.wad"));
    action("Open")->trigger();
    ASSERT_TRUE(editor->document().isLoaded());

    MeshScene* scene = render().meshScene();
    ASSERT_NE(scene, nullptr);
    EXPECT_EQ(scene->document, &editor->document());
    // Every sample and the Solid picture have a texture.
    for (unsigned n = 1; n <= editor->document().texInfoCount; ++n)
        ASSERT_TRUE(scene->textures.contains(n)) << "sample " << n - 1;
    EXPECT_TRUE(scene->textures.contains(4097));

    // Mesh 0, the cube, is drawn in the line colour over the background.
    const QImage frame = render().view().grabFramebuffer();
    EXPECT_EQ(scene->currentMesh, 0);
    const QColor line(0, 255, 255);
    int linePixels = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            linePixels += frame.pixelColor(x, y) == line;
    EXPECT_GT(linePixels, 50);

    // A changed sample gets its texture made again under the same number.
    const int page = editor->document().texInfos[3].page;
    editor->edit("Paint", EditScope{}.withPage(page),
                 [&] { editor->document().textureData[std::size_t(page) * kPageBytes] ^= 0xFF; });
    EXPECT_TRUE(scene->textures.contains(4));

    // A found face switches the view to its mesh and highlights it; (-1, -1) ends it.
    editor->highlightFace(6, 3);
    EXPECT_EQ(render().currentMesh(), 6);
    EXPECT_TRUE(scene->highlightOn);
    EXPECT_EQ(scene->highlightMesh, 6);
    EXPECT_EQ(scene->highlightFace, 3);
    editor->highlightFace(-1, -1);
    EXPECT_FALSE(scene->highlightOn);
    EXPECT_EQ(render().currentMesh(), 6);
    editor->highlightFace(999, 0); // no such mesh: nothing is highlighted
    EXPECT_FALSE(scene->highlightOn);
}

TEST_F(EditorTest, ViewSwitchesFollowTheirShortcutsInBothWindows) {
    start();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    render().viewport().invalidateScene();
    QTest::qWait(1);
    render().view().grabFramebuffer(); // the list is built

    QTest::keyClick(&main(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_TRUE(render().scene().showGrid);
    EXPECT_TRUE(action("ShowGrid")->isChecked());
    EXPECT_FALSE(render().viewport().listValid()) << "switches rebuild the scene";

    render().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&render()));
    QTest::keyClick(&render(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(render().scene().showAxes);
    EXPECT_TRUE(editor->commands().isChecked("ShowAxes"));
}

TEST_F(EditorTest, DarkUIPaintsTheMainWindowGrayAndFlattensTheGroups) {
    start();
    QWidget* area = main().centralWidget();
    const QColor normal = area->palette().color(QPalette::Window);
    main().uiColourButton()->click();
    EXPECT_TRUE(action("DarkUI")->isChecked());
    EXPECT_EQ(area->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(main().pageGroup()->palette().color(QPalette::Window), QColor(0x80, 0x80, 0x80));
    for (QGroupBox* group : main().findChildren<QGroupBox*>())
        EXPECT_TRUE(group->isFlat());

    action("DarkUI")->trigger();
    EXPECT_FALSE(main().darkUI());
    EXPECT_EQ(area->palette().color(QPalette::Window), normal);
    for (QGroupBox* group : main().findChildren<QGroupBox*>())
        EXPECT_FALSE(group->isFlat());
}

TEST_F(EditorTest, NameListsAreReadFromTheDataFolder) {
    writeText(dir / "NGLEObjects.txt", "LARA\r\nPISTOLS_ANIM\r\n");
    start();
    EXPECT_EQ(editor->moveableNames().names, (std::vector<std::string>{"Lara", "Pistols_anim"}));
    EXPECT_TRUE(editor->staticNames().names.empty());
}

TEST_F(EditorTest, NumbersUseAPointWhateverTheLocale) {
    start();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(QLocale().decimalPoint(), ".");
}

TEST_F(EditorTest, StartupCost) {
    QElapsedTimer clock;
    clock.start();
    editor = std::make_unique<Editor>(dialogs, locations);
    ASSERT_TRUE(editor->start(true));
    bool framed = false;
    QObject::connect(&render().view(), &GLView::firstFrameDrawn, [&] { framed = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return framed; }, 10000));
    const qint64 firstFrame = clock.elapsed();
    ASSERT_TRUE(editor->openPackage(demoCopy("demo.wad")));
    const qint64 opened = clock.elapsed();

    long rssKb = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            rssKb = std::stol(line.substr(6));
    RecordProperty("first_frame_ms", static_cast<int>(firstFrame));
    RecordProperty("demo_opened_ms", static_cast<int>(opened));
    RecordProperty("peak_rss_kb", static_cast<int>(rssKb));
    std::printf("start to first frame %lld ms, demo opened at %lld ms, peak RSS %ld kB\n",
                static_cast<long long>(firstFrame), static_cast<long long>(opened), rssKb);
}

} // namespace
} // namespace kavlen

namespace kavlen {

TEST_F(EditorTest, EveryKnownCommandIdNamesACommandOfTheEditor) {
    start();
    std::set<std::string_view> registered;
    for (const Command& c : editor->commands().commands())
        registered.insert(c.id.name());
    for (std::string_view id : kCommandIds)
        EXPECT_TRUE(registered.contains(id)) << id << " is listed but no command has it";
}

} // namespace kavlen
