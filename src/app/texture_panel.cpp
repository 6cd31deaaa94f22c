#include "app/texture_panel.h"

#include "app/busy_cursor.h"
#include "app/colour_names.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/open_procedure.h"
#include "app/qt_text.h"
#include "app/render_window.h"
#include "app/texture_number_windows.h"
#include "app/texture_page_view.h"
#include "app/tool_windows.h"
#include "imagefiles/picture_loader.h"
#include "imagefiles/qt_images.h"
#include "textures/adding.h"
#include "textures/texture_numbers.h"
#include "textures/texture_set.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace kavlen {

namespace {

constexpr int kBoxSize = 64;
const FileDialogOptions kBitmapSave{"Windows Bitmap file (*.bmp)", "bmp", {}};
const FileDialogOptions kBitmapOpen{"Windows Bitmap File (*.bmp)", "bmp", {}};
const FileDialogOptions kTavSave{"Kavlen  TAV file Format (*.tav)", "tav", {}};
const FileDialogOptions kTavOpen{"Kavlen TAV file format (*.tav)", "tav", {}};

// A tool button that remembers the modifier keys of the click that triggered it.
class ModifierToolButton : public QToolButton {
  public:
    using QToolButton::QToolButton;
    bool ctrlHeld() const {
        return clickModifiers_.testFlag(Qt::ControlModifier) ||
               QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        clickModifiers_ = event->modifiers();
        QToolButton::mousePressEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        clickModifiers_ |= event->modifiers();
        QToolButton::mouseReleaseEvent(event);
        clickModifiers_ = {};
    }

  private:
    Qt::KeyboardModifiers clickModifiers_;
};

std::uint32_t plainColour(std::uint32_t colour, std::uint32_t fallback) {
    return isSystemColour(colour) ? fallback : (colour & 0x00FFFFFF);
}

// Questions of the core operations, in the box their kind names.
AskUser askThrough(Dialogs& dialogs) {
    return [&dialogs](const UserQuestion& q) {
        if (q.buttons == UserQuestion::Buttons::YesNo)
            return dialogs.confirmYesNo(q.text);
        if (q.kind == MessageKind::Warning)
            return dialogs.askWarningOkCancel(q.text);
        return dialogs.confirmOkCancel(q.text);
    };
}

// The picture dialog with its caption, then the chosen file loaded.
ChoosePicture choosePictureThrough(Dialogs& dialogs, const char* title) {
    return [&dialogs, title] {
        const auto path = dialogs.openFile(
            {pictureDialogFilter().toStdString(), std::string(), std::string(), title});
        if (!path)
            return PictureChoice{};
        return pictureChoiceFromFile(toPath(*path));
    };
}

QPixmap boxPixmap(const Bitmap24& picture) {
    const DisplaySize size = sampleBoxSize(picture.width, picture.height, kBoxSize);
    QImage image = toQImage(picture);
    if (size.width != picture.width || size.height != picture.height)
        image =
            image.scaled(size.width, size.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

} // namespace

TexturePanel::TexturePanel(Editor& editor) : QObject(&editor.mainWindow()), editor_(editor) {
    setObjectName("texturePanel");
    highlight_ = plainColour(editor.settings().textureHighlight, 0x00FFFFFF);
    shapeColour_ = plainColour(editor.settings().textureShape, 0x000000FF);
    editor.addSettingsCollector([this](EditorSettings& s) {
        s.textureHighlight = highlight_;
        s.textureShape = shapeColour_;
    });
    buildControls();
    redrawPageView();
}

TexturePanel::~TexturePanel() = default;

void TexturePanel::buildControls() {
    MainWindow& form = editor_.mainWindow();

    QGroupBox* pageGroup = form.pageGroup();
    pageView_ = new TexturePageView(pageGroup);
    pageSelector_ = new QComboBox(pageGroup);
    pageSelector_->setObjectName("pageSelector");
    pageGroup->layout()->addWidget(pageView_);
    pageGroup->layout()->addWidget(pageSelector_);
    pageView_->pressed = [this](const TexturePageView::PagePointer& p) {
        pagePressed(p.x, p.y, p.button, p.modifiers);
    };
    pageView_->moved = [this](const TexturePageView::PagePointer& p) { pageMoved(p.x, p.y); };
    pageView_->released = [this](const TexturePageView::PagePointer&) { pageReleased(); };
    connect(pageSelector_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            selectPage(index);
    });

    // "Current Texture": the list, the 64 x 64 picture, the picked button and the
    // export and import buttons.
    auto* current = new QGroupBox(tr("Current Texture"));
    current->setObjectName("currentTextureGroup");
    auto* currentLayout = new QHBoxLayout(current);
    textureList_ = new QListWidget(current);
    textureList_->setObjectName("textureList");
    textureList_->setFixedWidth(120);
    textureList_->setFixedHeight(110);
    currentLayout->addWidget(textureList_);
    auto* right = new QVBoxLayout;
    currentTexture_ = new QLabel(current);
    currentTexture_->setObjectName("currentTexture");
    currentTexture_->setFixedSize(kBoxSize, kBoxSize);
    currentTexture_->setAlignment(Qt::AlignCenter);
    right->addWidget(currentTexture_);
    pickedButton_ = new QPushButton(tr("Not picked"), current);
    pickedButton_->setObjectName("pickedButton");
    pickedButton_->setEnabled(false);
    right->addWidget(pickedButton_);
    auto* exportButton = new QPushButton(tr("Export    Ctrl+B"), current);
    auto* importButton = new QPushButton(tr("Import     Shift+B"), current);
    right->addWidget(exportButton);
    right->addWidget(importButton);
    currentLayout->addLayout(right);
    connect(textureList_, &QListWidget::currentRowChanged, this,
            [this](int row) { textureListClicked(row); });
    // A click on the entry already selected shows it again too.
    connect(textureList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { textureListClicked(textureList_->row(item)); });
    CommandTable& table = editor_.commands();
    connect(exportButton, &QPushButton::clicked, this,
            [&table] { table.execute("ExportTexture"); });
    connect(importButton, &QPushButton::clicked, this,
            [&table] { table.execute("ImportTexture"); });
    form.addControlGroup(current);

    // The cutting shape: the cut button, its label and the four spin buttons.
    auto* shapeGroup = new QWidget;
    shapeGroup->setObjectName("cuttingShape");
    auto* shapeLayout = new QHBoxLayout(shapeGroup);
    shapeLayout->setContentsMargins(0, 0, 0, 0);
    cutButton_ = new QToolButton(shapeGroup);
    cutButton_->setObjectName("cutButton");
    cutButton_->setText("C");
    cutButton_->setToolTip(tr("Cut Texture"));
    connect(cutButton_, &QToolButton::clicked, this, [&table] { table.execute("CutFromShape"); });
    shapeLayout->addWidget(cutButton_);
    shapeLabel_ = new QLabel(shapeGroup);
    shapeLabel_->setObjectName("shapeLabel");
    shapeLayout->addWidget(shapeLabel_, 1);
    const std::array<std::pair<ShapeSpinButton, const char*>, 4> spins{{
        {ShapeSpinButton::LeftPlusMinus, "Left +/-"},
        {ShapeSpinButton::HeightPlus, "Height +"},
        {ShapeSpinButton::HeightMinus, "Height -"},
        {ShapeSpinButton::RightPlusMinus, "Right +/-"},
    }};
    for (std::size_t i = 0; i < spins.size(); ++i) {
        auto* pair = new QWidget(shapeGroup);
        pair->setToolTip(tr(spins[i].second));
        auto* pairLayout = new QVBoxLayout(pair);
        pairLayout->setContentsMargins(0, 0, 0, 0);
        pairLayout->setSpacing(0);
        for (SpinHalf half : {SpinHalf::Up, SpinHalf::Down}) {
            auto* b = new ModifierToolButton(pair);
            b->setArrowType(half == SpinHalf::Up ? Qt::UpArrow : Qt::DownArrow);
            b->setToolTip(tr(spins[i].second));
            b->setFixedSize(18, 11);
            pairLayout->addWidget(b);
            spinButtons_[i * 2 + (half == SpinHalf::Up ? 0 : 1)] = b;
            const ShapeSpinButton which = spins[i].first;
            connect(b, &QToolButton::clicked, this,
                    [this, b, which, half] { spin(which, half, b->ctrlHeld()); });
        }
        shapeLayout->addWidget(pair);
    }
    form.addControlGroup(shapeGroup);

    ToolWindows& windows = editor_.toolWindows();
    preview_ = &windows.preview();
    previewPicture_ = &windows.previewPicture();

    swap_ = &windows.swapTextures();
    connect(swap_->selected.list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = swap_->selected.list->row(item);
        if (!hasSample(editor_.document(), row))
            return;
        selectedSample_ = row;
        selectListRow(row);
        showSelectedSample();
    });
    connect(swap_->other.list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { otherListClicked(swap_->other.list->row(item)); });
    connect(swap_->swapButton, &QPushButton::clicked, this, [this] { swapSamples(); });

    find_ = &windows.findTexture();
    connect(find_->findFirst, &QPushButton::clicked, this, [this] { findFirstFace(); });
    connect(find_->findNext, &QPushButton::clicked, this, [this] { findNextFace(); });
    connect(find_, &FindTextureWindow::shown, this, [this] {
        find_->foundFaces->clear();
        find_->meshes->clear();
        find_->status->clear();
        findState_.position = {};
    });
    connect(find_, &FindTextureWindow::closed, this, [this] { editor_.highlightFace(-1, -1); });

    choose_ = &windows.chooseTexture();
    connect(pickedButton_, &QPushButton::clicked, choose_, &QWidget::show);
    connect(choose_->list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseEntryClicked(item->text()); });
}

QToolButton* TexturePanel::spinButton(ShapeSpinButton button, SpinHalf half) const {
    return spinButtons_[static_cast<std::size_t>(button) * 2 + (half == SpinHalf::Up ? 0 : 1)];
}

void TexturePanel::registerOpenSteps(OpenProcedure& procedure) {
    procedure.addStep(OpenStage::ClearMainWindow, [this](Package&) {
        const QSignalBlocker pages(pageSelector_);
        const QSignalBlocker list(textureList_);
        pageSelector_->clear();
        textureList_->clear();
    });
    procedure.addStep(OpenStage::ClearImagesAndStatus, [this](Package&) {
        currentTexture_->clear();
        previewPicture_->clear();
        shape_ = CuttingShape{};
        hits_.clear();
        setPicked("Not picked", false);
    });
    procedure.addStep(OpenStage::BuildAtlas, [this](Package&) {
        currentPage_ = 0;
        fillPageSelector();
    });
    procedure.addStep(OpenStage::FillTextureLists, [this](Package& wad) {
        fillTextureList();
        selectedSample_ = hasSample(wad, 0) ? 0 : -1;
        otherSample_ = selectedSample_;
        selectListRow(selectedSample_);
        showSelectedSample();
        showOtherSample();
        redrawPageView();
    });
}

void TexturePanel::fillPageSelector() {
    const QSignalBlocker block(pageSelector_);
    pageSelector_->clear();
    const int pages = atlasRowCount(editor_.document()) / kPageRows;
    for (int p = 0; p < pages; ++p)
        pageSelector_->addItem(QString::fromStdString(pageLabel(p)));
    pageSelector_->setCurrentIndex(currentPage_ < pages ? currentPage_ : -1);
}

void TexturePanel::fillTextureList() {
    const Package& wad = editor_.document();
    QStringList labels;
    for (int i = 0; i < static_cast<int>(wad.texInfoCount); ++i)
        labels << QString::fromStdString(textureLabel(i));
    const auto fill = [&](QListWidget* list, int row) {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(labels);
        list->setCurrentRow(hasSample(wad, row) ? row : -1);
    };
    fill(textureList_, selectedSample_);
    fill(swap_->selected.list, selectedSample_);
    fill(swap_->other.list, otherSample_);
}

void TexturePanel::selectListRow(int row) {
    const QSignalBlocker block(textureList_);
    textureList_->setCurrentRow(row);
}

void TexturePanel::otherListClicked(int row) {
    if (!hasSample(editor_.document(), row))
        return;
    otherSample_ = row;
    setPicked("Not picked", false);
    showOtherSample();
}

void TexturePanel::chooseEntryClicked(const QString& entry) {
    const int sample = chooseEntrySample(entry.toStdString());
    choose_->close();
    if (!hasSample(editor_.document(), sample))
        return;
    if (chooseTarget_) {
        swap_->other.list->setCurrentRow(sample);
        otherListClicked(sample);
        return;
    }
    selectListRow(sample);
    textureListClicked(sample);
}

void TexturePanel::updateSwapButton() {
    swap_->swapButton->setEnabled(swapAllowed(editor_.document(), selectedSample_, otherSample_));
}

void TexturePanel::setPicked(const std::string& caption, bool enabled) {
    pickedButton_->setText(QString::fromStdString(caption));
    pickedButton_->setEnabled(enabled);
}

void TexturePanel::textureListClicked(int row) {
    if (!hasSample(editor_.document(), row))
        return;
    selectedSample_ = row;
    setPicked("Not picked", false);
    showSelectedSample();
}

void TexturePanel::selectPage(int page) {
    if (page < 0 || page >= atlasRowCount(editor_.document()) / kPageRows)
        return;
    currentPage_ = page;
    {
        const QSignalBlocker block(pageSelector_);
        pageSelector_->setCurrentIndex(page);
    }
    redrawPageView();
}

void TexturePanel::showSelectedSample() {
    const Package& wad = editor_.document();
    const auto picture = samplePicture(wad, selectedSample_);
    const auto mark = sampleMark(wad, selectedSample_);
    if (!picture || !mark) {
        redrawPageView();
        return;
    }
    swap_->selected.list->setCurrentRow(selectedSample_);
    chooseTarget_ = false;
    const TexInfo& info = wad.texInfos[static_cast<std::size_t>(selectedSample_)];
    swap_->selected.size->setText(QString::fromStdString(sampleSizeLabel(info)));
    if (selectedSample_ != findState_.searched) {
        // Another sample: the find window starts over.
        find_->findNext->setEnabled(false);
        find_->foundFaces->clear();
        find_->meshes->clear();
        find_->status->clear();
        find_->group->setTitle(QString::fromStdString(findGroupCaption(selectedSample_, info)));
        editor_.highlightFace(-1, -1);
        findState_.searched = -1;
    }
    const QPixmap box = boxPixmap(*picture);
    currentTexture_->setPixmap(box);
    find_->picture->setPixmap(box);
    swap_->selected.picture->setPixmap(box);
    if (!shape_.active)
        fillPreview(*picture, tr("Preview"));
    selectPage(mark->page);
    updateSwapButton();
}

void TexturePanel::showOtherSample() {
    const Package& wad = editor_.document();
    const auto picture = samplePicture(wad, otherSample_);
    const auto mark = sampleMark(wad, otherSample_);
    if (!picture || !mark)
        return;
    chooseTarget_ = true;
    const TexInfo& info = wad.texInfos[static_cast<std::size_t>(otherSample_)];
    swap_->other.size->setText(QString::fromStdString(sampleSizeLabel(info)));
    swap_->other.picture->setPixmap(boxPixmap(*picture));
    {
        const QSignalBlocker block(swap_->other.list);
        swap_->other.list->setCurrentRow(otherSample_);
    }
    selectPage(mark->page);
    updateSwapButton();
}

void TexturePanel::redrawPageView() {
    const Package& wad = editor_.document();
    TexturePageView::Marks marks;
    marks.highlight = highlight_;
    marks.shapeColour = shapeColour_;
    if (const auto m = sampleMark(wad, selectedSample_); m && m->page == currentPage_)
        marks.selected = m->rect;
    if (const auto m = sampleMark(wad, otherSample_); m && m->page == currentPage_)
        marks.other = m->rect;
    if (shape_.usableOn(currentPage_))
        marks.shape = shape_.rect();
    pageView_->show(toQImage(pagePicture(wad, currentPage_)), marks);

    shapeLabel_->setText(QString::fromStdString(shape_.label()));
    const bool usable = shape_.usableOn(currentPage_);
    shapeLabel_->setEnabled(usable);
    cutButton_->setEnabled(usable);
    editor_.commands().setEnabled("CutFromShape", usable);
}

void TexturePanel::fillPreview(const Bitmap24& picture, const QString& caption) {
    previewZoom_ = kavlen::previewZoom(picture.width, picture.height);
    const Bitmap24 enlarged = enlargeBitmap(picture, previewZoom_);
    previewPicture_->setPixmap(QPixmap::fromImage(toQImage(enlarged)));
    previewPicture_->setFixedSize(enlarged.width, enlarged.height);
    preview_->setWindowTitle(caption);
    preview_->setFixedSize(enlarged.width, enlarged.height);
}

void TexturePanel::updateCutPreview() {
    previewZoom_ = 2;
    if (const auto picture = shapePicture(editor_.document(), shape_))
        fillPreview(*picture, tr("Cut Preview"));
}

void TexturePanel::pagePressed(int x, int y, Qt::MouseButton button,
                               Qt::KeyboardModifiers modifiers) {
    if (!editor_.packageLoaded())
        return;
    const Package& wad = editor_.document();
    if (button == Qt::LeftButton && modifiers.testFlag(Qt::ShiftModifier)) {
        shape_.start(currentPage_, x, y);
        redrawPageView();
        return;
    }
    if (button == Qt::LeftButton ||
        (button == Qt::RightButton && modifiers.testFlag(Qt::ControlModifier))) {
        std::vector<SampleHit> hits = hitTest(wad, currentPage_, x, y);
        if (hits.empty())
            return;
        hits_ = std::move(hits);
        setPicked(pickedCaption(hits_.size()), hits_.size() >= 2);
        if (hits_.size() >= 2) {
            choose_->list->clear();
            for (const SampleHit& hit : hits_)
                choose_->list->addItem(QString::fromStdString(chooseEntry(hit)));
        }
        if (button == Qt::LeftButton) {
            selectedSample_ = hits_.front().index;
            selectListRow(selectedSample_);
            showSelectedSample();
            return;
        }
        otherSample_ = hits_.front().index;
        if (hits_.size() == 1) {
            showOtherSample();
            return;
        }
        shape_.active = false;
        showSelectedSample();
        showOtherSample();
        updateCutPreview();
        return;
    }
    // Any other press drops the shape and puts the other sample back to 0.
    shape_.active = false;
    if (otherSample_ != 0 && hasSample(wad, 0)) {
        otherSample_ = 0;
        setPicked("Not picked", false);
        showOtherSample();
    }
    showSelectedSample();
    updateCutPreview();
}

void TexturePanel::pageMoved(int x, int y) {
    if (shape_.dragTo(x, y)) {
        redrawPageView();
        x = shape_.x1;
        y = shape_.y1;
    }
    editor_.mainWindow().setStatusText(0, QString("X=%1 Y=%2").arg(x).arg(y));
}

void TexturePanel::pageReleased() {
    if (!shape_.dragging && !shape_.active)
        return;
    shape_.finish(sampleMark(editor_.document(), selectedSample_));
    redrawPageView();
    if (shape_.active)
        updateCutPreview();
}

void TexturePanel::spin(ShapeSpinButton button, SpinHalf half, bool ctrl) {
    if (!spinShape(shape_, currentPage_, button, half, ctrl))
        return;
    redrawPageView();
    updateCutPreview();
}

void TexturePanel::showMessages(const std::vector<Message>& messages) {
    for (const Message& m : messages)
        editor_.dialogs().show(m);
}

void TexturePanel::exportAtlas() {
    const auto path = editor_.dialogs().saveFile(kBitmapSave);
    if (!path)
        return;
    showMessages(exportAtlasToBitmap(editor_.document(), toPath(*path)));
}

void TexturePanel::importAtlas() {
    const auto path = editor_.dialogs().openFile(kBitmapOpen);
    if (!path)
        return;
    BusyCursor busy;
    const AtlasImportResult result = importAtlasFromBitmap(editor_.document(), toPath(*path));
    if (result.changed) {
        editor_.samplesChanged({});
        showSelectedSample();
        redrawPageView();
        editor_.renderWindow().invalidateScene();
    }
    busy.release();
    showMessages(result.messages);
}

void TexturePanel::addPageFromImage() {
    const AddPageResult result = kavlen::addPageFromImage(
        editor_.document(), choosePictureThrough(editor_.dialogs(), "Add Page"),
        askThrough(editor_.dialogs()));
    if (result.added) {
        fillPageSelector();
        selectPage(result.page);
    }
    showMessages(result.messages);
}

void TexturePanel::addBlankPage() {
    const AddPageResult result = kavlen::addBlankPage(editor_.document());
    if (result.added) {
        fillPageSelector();
        selectPage(result.page);
    }
    showMessages(result.messages);
}

void TexturePanel::addNewTexture() {
    const AddTextureResult result = kavlen::addNewTexture(
        editor_.document(), choosePictureThrough(editor_.dialogs(), "Add texture"),
        askThrough(editor_.dialogs()));
    if (result.pageAdded) {
        fillPageSelector();
        selectPage(atlasRowCount(editor_.document()) / kPageRows - 1);
    }
    if (result.added) {
        selectedSample_ = result.sample;
        fillTextureList();
        setPicked("Not picked", false);
        showSelectedSample();
        editor_.samplesChanged({result.sample});
    }
    showMessages(result.messages);
}

void TexturePanel::exportTexture() {
    if (!hasSample(editor_.document(), selectedSample_))
        return;
    FileDialogOptions options = kBitmapSave;
    options.startPath = exportTextureFileName(selectedSample_);
    const auto path = editor_.dialogs().saveFile(options);
    if (!path)
        return;
    showMessages(exportTextureToBmp(editor_.document(), selectedSample_, toPath(*path)));
}

void TexturePanel::importTexture() {
    if (!hasSample(editor_.document(), selectedSample_))
        return;
    const ImportTextureResult result =
        kavlen::importTexture(editor_.document(), selectedSample_,
                              choosePictureThrough(editor_.dialogs(), "Import Texture"));
    if (result.changed) {
        shape_.active = false;
        showSelectedSample();
        editor_.samplesChanged(result.rebuild);
        editor_.renderWindow().invalidateScene();
    }
    showMessages(result.messages);
}

void TexturePanel::cutFromShape() {
    const CutResult result = kavlen::cutFromShape(editor_.document(), shape_, currentPage_,
                                                  askThrough(editor_.dialogs()));
    if (result.added) {
        editor_.samplesChanged({result.sample});
        editor_.renderWindow().invalidateScene();
        selectedSample_ = result.sample;
        fillTextureList();
        showSelectedSample();
    }
    showMessages(result.messages);
}

void TexturePanel::chooseSelectionColour() {
    if (const auto colour = editor_.dialogs().chooseColour(highlight_)) {
        highlight_ = *colour & 0x00FFFFFF;
        redrawPageView();
    }
}

void TexturePanel::chooseShapeColour() {
    if (const auto colour = editor_.dialogs().chooseColour(shapeColour_)) {
        shapeColour_ = *colour & 0x00FFFFFF;
        redrawPageView();
    }
}

void TexturePanel::showSwapWindow() {
    swap_->show();
    swap_->raise();
}

void TexturePanel::swapSamples() {
    if (!editor_.packageLoaded()) {
        editor_.dialogs().showError(kNoWadOpened);
        return;
    }
    const int a = selectedSample_;
    const int b = otherSample_;
    const SwapResult result = swapTextureNumbers(editor_.document(), a, b);
    if (result.swapped) {
        editor_.samplesChanged(result.rebuild);
        // Each selection follows its picture to its new number.
        selectedSample_ = b;
        otherSample_ = a;
        selectListRow(b);
        {
            const QSignalBlocker block(swap_->other.list);
            swap_->other.list->setCurrentRow(a);
        }
        showOtherSample();
        showSelectedSample();
        editor_.renderWindow().invalidateScene();
    }
    showMessages(result.messages);
}

void TexturePanel::showFindWindow() {
    find_->show();
    find_->raise();
}

void TexturePanel::findFirstFace() {
    find_->findNext->setEnabled(false);
    find_->foundFaces->clear();
    find_->meshes->clear();
    find_->status->clear();
    const FindFirstResult result = findFirst(editor_.document(), findState_, selectedSample_);
    if (!result.ran)
        return;
    find_->status->setText(QString::fromStdString(result.status));
    for (const std::string& line : result.meshLines)
        find_->meshes->addItem(QString::fromStdString(line));
    if (result.found) {
        editor_.highlightFace(result.found->mesh, result.found->face);
        find_->foundFaces->insertItem(0, QString::fromStdString(result.foundLine));
    }
    find_->findNext->setEnabled(result.findNextEnabled);
}

void TexturePanel::findNextFace() {
    const FindNextResult result = findNext(editor_.document(), findState_, selectedSample_);
    if (!result.ran)
        return;
    if (result.found)
        editor_.highlightFace(result.found->mesh, result.found->face);
    find_->foundFaces->insertItem(0, QString::fromStdString(result.line));
    find_->foundFaces->setCurrentRow(0);
    find_->findNext->setEnabled(result.findNextEnabled);
}

void TexturePanel::showPreview() {
    preview_->show();
    preview_->raise();
}

void TexturePanel::saveTavFile() {
    const auto path = editor_.dialogs().saveFile(kTavSave);
    if (!path)
        return;
    BusyCursor busy;
    Editor::processPendingMessages();
    const TextureSetResult result = saveTextureSet(editor_.document(), toPath(*path));
    busy.release();
    showMessages(result.messages);
}

void TexturePanel::restoreTavFile() {
    const auto path = editor_.dialogs().openFile(kTavOpen);
    if (!path)
        return;
    BusyCursor busy;
    Editor::processPendingMessages();
    const TextureSetResult result = restoreTextureSet(editor_.document(), toPath(*path));
    if (result.ok) {
        // The samples' rectangles may have moved: their textures follow.
        editor_.samplesChanged({});
        editor_.renderWindow().invalidateScene();
    }
    busy.release();
    showMessages(result.messages);
}

} // namespace kavlen
