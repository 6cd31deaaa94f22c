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
#include "imagefiles/picture_loader.h"
#include "imagefiles/qt_images.h"
#include "textures/adding.h"
#include "textures/texture_numbers.h"
#include "textures/texture_set.h"
#include "textures/texture_usage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPalette>
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

TexturePanel::TexturePanel(Editor& editor)
    : QObject(&editor.mainWindow()), editor_(editor), selection_(editor.selection()) {
    setObjectName("texturePanel");
    highlight_ = plainColour(editor.settings().textureHighlight, 0x00FFFFFF);
    shapeColour_ = plainColour(editor.settings().textureShape, 0x000000FF);
    editor.addSettingsCollector([this](EditorSettings& s) {
        s.textureHighlight = highlight_;
        s.textureShape = shapeColour_;
    });
    buildControls();
    redrawPageView();
    documentChanges_ = editor.history().onChange(
        [this](const DocumentChange& change) { documentChanged(change); });
    selectionChanges_ =
        selection_.onChange([this](EditorSelection::Part part) { selectionChanged(part); });
}

void TexturePanel::selectSample(int sample) {
    // The panel shows its own choices itself; the listener is for the others'.
    selectingSample_ = true;
    selection_.setSample(sample);
    selectingSample_ = false;
}

void TexturePanel::selectionChanged(EditorSelection::Part part) {
    // Another window chose a sample (a face click that inspects one, an undo):
    // the list and the page show it as a click on its entry would.
    if (part != EditorSelection::Part::Sample || selectingSample_ ||
        textureList_->currentRow() == selection_.sample())
        return;
    if (!hasSample(editor_.document(), selection_.sample()))
        return;
    selectListRow(selection_.sample());
    setPicked("Not picked", false);
    showSelectedSample();
}

void TexturePanel::documentChanged(const DocumentChange& change) {
    // An open refills the panel through its own steps.
    if (change.packageOpened)
        return;
    const Package& wad = editor_.document();
    if (change.wholePackage || change.pageCount) {
        if (selection_.page() >= atlasRowCount(wad) / kPageRows)
            selection_.setPage(0);
        fillPageSelector();
    }
    if (change.wholePackage || change.sampleCount || change.sampleTable) {
        // A selection whose sample is gone falls back to sample 0.
        if (!hasSample(wad, selection_.sample()))
            selectSample(hasSample(wad, 0) ? 0 : -1);
        if (!hasSample(wad, selection_.otherSample()))
            selection_.setOtherSample(selection_.sample());
        fillTextureList();
    }
    if (change.touchesSample(selection_.sample()))
        showSelectedSample();
    if (change.touchesSample(selection_.otherSample()))
        showOtherSample();
    if (change.touchesTextures())
        redrawPageView();
    // Faces that change their sample change which samples are unused.
    if (change.wholePackage || !change.meshSlots.empty() || change.sampleCount ||
        change.sampleTable) {
        markUnusedSamples();
        if (tintUnused_)
            redrawPageView();
    }
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

    // The Preview window: a small tool window on top, its client area the picture.
    preview_ = new QWidget(&form, Qt::Tool | Qt::WindowStaysOnTopHint);
    preview_->setObjectName("previewWindow");
    preview_->setWindowTitle(tr("Preview"));
    auto* previewLayout = new QVBoxLayout(preview_);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewPicture_ = new QLabel(preview_);
    previewLayout->addWidget(previewPicture_);

    swap_ = new SwapTexturesWindow(&form);
    connect(swap_->selected.list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = swap_->selected.list->row(item);
        if (!hasSample(editor_.document(), row))
            return;
        selectSample(row);
        selectListRow(row);
        showSelectedSample();
    });
    connect(swap_->other.list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { otherListClicked(swap_->other.list->row(item)); });
    connect(swap_->swapButton, &QPushButton::clicked, this, [this] { swapSamples(); });

    find_ = new FindTextureWindow(&form);
    connect(find_->findFirst, &QPushButton::clicked, this, [this] { findFirstFace(); });
    connect(find_->findNext, &QPushButton::clicked, this, [this] { findNextFace(); });
    connect(find_, &FindTextureWindow::shown, this, [this] {
        find_->foundFaces->clear();
        find_->meshes->clear();
        find_->status->clear();
        findState_.position = {};
    });
    connect(find_, &FindTextureWindow::closed, this, [this] { editor_.highlightFace(-1, -1); });

    choose_ = new ChooseTextureWindow(&form);
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
        selection_.cuttingShape() = CuttingShape{};
        hits_.clear();
        setPicked("Not picked", false);
    });
    procedure.addStep(OpenStage::BuildAtlas, [this](Package&) {
        selection_.setPage(0);
        fillPageSelector();
    });
    procedure.addStep(OpenStage::FillTextureLists, [this](Package& wad) {
        fillTextureList();
        selectSample(hasSample(wad, 0) ? 0 : -1);
        selection_.setOtherSample(selection_.sample());
        selectListRow(selection_.sample());
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
    pageSelector_->setCurrentIndex(selection_.page() < pages ? selection_.page() : -1);
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
    fill(textureList_, selection_.sample());
    fill(swap_->selected.list, selection_.sample());
    fill(swap_->other.list, selection_.otherSample());
    markUnusedSamples();
}

void TexturePanel::markUnusedSamples() {
    const std::vector<int> uses = sampleUseCounts(editor_.document());
    const QBrush normal = textureList_->palette().brush(QPalette::Text);
    const QBrush grey = textureList_->palette().brush(QPalette::Disabled, QPalette::Text);
    for (int i = 0; i < textureList_->count() && i < static_cast<int>(uses.size()); ++i) {
        QListWidgetItem* item = textureList_->item(i);
        const bool used = uses[i] > 0;
        item->setText(QString::fromStdString(textureListLabel(i, used)));
        item->setForeground(used ? normal : grey);
    }
}

void TexturePanel::selectListRow(int row) {
    const QSignalBlocker block(textureList_);
    textureList_->setCurrentRow(row);
}

void TexturePanel::otherListClicked(int row) {
    if (!hasSample(editor_.document(), row))
        return;
    selection_.setOtherSample(row);
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
    swap_->swapButton->setEnabled(
        swapAllowed(editor_.document(), selection_.sample(), selection_.otherSample()));
}

void TexturePanel::setPicked(const std::string& caption, bool enabled) {
    pickedButton_->setText(QString::fromStdString(caption));
    pickedButton_->setEnabled(enabled);
}

void TexturePanel::textureListClicked(int row) {
    if (!hasSample(editor_.document(), row))
        return;
    selectSample(row);
    setPicked("Not picked", false);
    showSelectedSample();
}

void TexturePanel::selectPage(int page) {
    if (page < 0 || page >= atlasRowCount(editor_.document()) / kPageRows)
        return;
    selection_.setPage(page);
    {
        const QSignalBlocker block(pageSelector_);
        pageSelector_->setCurrentIndex(page);
    }
    redrawPageView();
}

void TexturePanel::showSelectedSample() {
    const Package& wad = editor_.document();
    const auto picture = samplePicture(wad, selection_.sample());
    const auto mark = sampleMark(wad, selection_.sample());
    if (!picture || !mark) {
        redrawPageView();
        return;
    }
    swap_->selected.list->setCurrentRow(selection_.sample());
    chooseTarget_ = false;
    const TexInfo& info = wad.texInfos[static_cast<std::size_t>(selection_.sample())];
    swap_->selected.size->setText(QString::fromStdString(sampleSizeLabel(info)));
    if (selection_.sample() != findState_.searched) {
        // Another sample: the find window starts over.
        find_->findNext->setEnabled(false);
        find_->foundFaces->clear();
        find_->meshes->clear();
        find_->status->clear();
        find_->group->setTitle(QString::fromStdString(findGroupCaption(selection_.sample(), info)));
        editor_.highlightFace(-1, -1);
        findState_.searched = -1;
    }
    const QPixmap box = boxPixmap(*picture);
    currentTexture_->setPixmap(box);
    find_->picture->setPixmap(box);
    swap_->selected.picture->setPixmap(box);
    if (!selection_.cuttingShape().active)
        fillPreview(*picture, tr("Preview"));
    selectPage(mark->page);
    updateSwapButton();
}

void TexturePanel::showOtherSample() {
    const Package& wad = editor_.document();
    const auto picture = samplePicture(wad, selection_.otherSample());
    const auto mark = sampleMark(wad, selection_.otherSample());
    if (!picture || !mark)
        return;
    chooseTarget_ = true;
    const TexInfo& info = wad.texInfos[static_cast<std::size_t>(selection_.otherSample())];
    swap_->other.size->setText(QString::fromStdString(sampleSizeLabel(info)));
    swap_->other.picture->setPixmap(boxPixmap(*picture));
    {
        const QSignalBlocker block(swap_->other.list);
        swap_->other.list->setCurrentRow(selection_.otherSample());
    }
    selectPage(mark->page);
    updateSwapButton();
}

void TexturePanel::redrawPageView() {
    const Package& wad = editor_.document();
    TexturePageView::Marks marks;
    marks.highlight = highlight_;
    marks.shapeColour = shapeColour_;
    if (const auto m = sampleMark(wad, selection_.sample()); m && m->page == selection_.page())
        marks.selected = m->rect;
    if (const auto m = sampleMark(wad, selection_.otherSample()); m && m->page == selection_.page())
        marks.other = m->rect;
    if (selection_.cuttingShape().usableOn(selection_.page()))
        marks.shape = selection_.cuttingShape().rect();
    if (tintUnused_) {
        for (const UnusedSample& s : unusedSamples(wad).unused)
            if (s.page == selection_.page())
                marks.unused.push_back(s.rect);
    }
    pageView_->show(toQImage(pagePicture(wad, selection_.page())), marks);

    shapeLabel_->setText(QString::fromStdString(selection_.cuttingShape().label()));
    const bool usable = selection_.cuttingShape().usableOn(selection_.page());
    shapeLabel_->setEnabled(usable);
    cutButton_->setEnabled(usable);
    // The panel draws its first page before the Textures commands exist.
    if (editor_.commands().find("CutFromShape"))
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
    if (const auto picture = shapePicture(editor_.document(), selection_.cuttingShape()))
        fillPreview(*picture, tr("Cut Preview"));
}

void TexturePanel::pagePressed(int x, int y, Qt::MouseButton button,
                               Qt::KeyboardModifiers modifiers) {
    if (!editor_.packageLoaded())
        return;
    const Package& wad = editor_.document();
    if (button == Qt::LeftButton && modifiers.testFlag(Qt::ShiftModifier)) {
        selection_.cuttingShape().start(selection_.page(), x, y);
        redrawPageView();
        return;
    }
    if (button == Qt::LeftButton ||
        (button == Qt::RightButton && modifiers.testFlag(Qt::ControlModifier))) {
        std::vector<SampleHit> hits = hitTest(wad, selection_.page(), x, y);
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
            selectSample(hits_.front().index);
            selectListRow(selection_.sample());
            showSelectedSample();
            return;
        }
        selection_.setOtherSample(hits_.front().index);
        if (hits_.size() == 1) {
            showOtherSample();
            return;
        }
        selection_.cuttingShape().active = false;
        showSelectedSample();
        showOtherSample();
        updateCutPreview();
        return;
    }
    // Any other press drops the shape and puts the other sample back to 0.
    selection_.cuttingShape().active = false;
    if (selection_.otherSample() != 0 && hasSample(wad, 0)) {
        selection_.setOtherSample(0);
        setPicked("Not picked", false);
        showOtherSample();
    }
    showSelectedSample();
    updateCutPreview();
}

void TexturePanel::pageMoved(int x, int y) {
    if (selection_.cuttingShape().dragTo(x, y)) {
        redrawPageView();
        x = selection_.cuttingShape().x1;
        y = selection_.cuttingShape().y1;
    }
    editor_.mainWindow().setStatusText(0, QString("X=%1 Y=%2").arg(x).arg(y));
}

void TexturePanel::pageReleased() {
    if (!selection_.cuttingShape().dragging && !selection_.cuttingShape().active)
        return;
    selection_.cuttingShape().finish(sampleMark(editor_.document(), selection_.sample()));
    redrawPageView();
    if (selection_.cuttingShape().active)
        updateCutPreview();
}

void TexturePanel::spin(ShapeSpinButton button, SpinHalf half, bool ctrl) {
    if (!spinShape(selection_.cuttingShape(), selection_.page(), button, half, ctrl))
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
    AtlasImportResult result;
    EditScope scope;
    scope.wholeAtlas = true;
    editor_.edit("Import Atlas", scope,
                 [&] { result = importAtlasFromBitmap(editor_.document(), toPath(*path)); });
    busy.release();
    showMessages(result.messages);
}

void TexturePanel::addPageFromImage() {
    AddPageResult result;
    EditScope scope;
    scope.wholeAtlas = true;
    editor_.edit("Add page From Image", scope, [&] {
        result = kavlen::addPageFromImage(editor_.document(),
                                          choosePictureThrough(editor_.dialogs(), "Add Page"),
                                          askThrough(editor_.dialogs()));
    });
    if (result.added)
        selectPage(result.page);
    showMessages(result.messages);
}

void TexturePanel::addBlankPage() {
    AddPageResult result;
    EditScope scope;
    scope.wholeAtlas = true;
    editor_.edit("Add page Blank", scope,
                 [&] { result = kavlen::addBlankPage(editor_.document()); });
    if (result.added)
        selectPage(result.page);
    showMessages(result.messages);
}

void TexturePanel::addNewTexture() {
    AddTextureResult result;
    EditScope scope;
    scope.wholeAtlas = scope.samples = true;
    // A page added for a texture that then fails stays as one step, which Undo
    // takes back.
    editor_.edit("Add new texture", scope, [&] {
        result = kavlen::addNewTexture(editor_.document(),
                                       choosePictureThrough(editor_.dialogs(), "Add texture"),
                                       askThrough(editor_.dialogs()));
    });
    if (result.pageAdded)
        selectPage(atlasRowCount(editor_.document()) / kPageRows - 1);
    if (result.added) {
        selectSample(result.sample);
        selectListRow(result.sample);
        setPicked("Not picked", false);
        showSelectedSample();
    }
    showMessages(result.messages);
}

void TexturePanel::exportTexture() {
    if (!hasSample(editor_.document(), selection_.sample()))
        return;
    FileDialogOptions options = kBitmapSave;
    options.startPath = exportTextureFileName(selection_.sample());
    const auto path = editor_.dialogs().saveFile(options);
    if (!path)
        return;
    showMessages(exportTextureToBmp(editor_.document(), selection_.sample(), toPath(*path)));
}

void TexturePanel::importTexture() {
    if (!hasSample(editor_.document(), selection_.sample()))
        return;
    ImportTextureResult result;
    const int page =
        editor_.document().texInfos[static_cast<std::size_t>(selection_.sample())].page;
    editor_.edit("Import Texture", EditScope{}.withPage(page), [&] {
        result = kavlen::importTexture(editor_.document(), selection_.sample(),
                                       choosePictureThrough(editor_.dialogs(), "Import Texture"));
    });
    if (result.changed) {
        selection_.cuttingShape().active = false;
        showSelectedSample();
    }
    showMessages(result.messages);
}

void TexturePanel::cutFromShape() {
    CutResult result;
    EditScope scope;
    scope.samples = true;
    editor_.edit("Cut from Shape", scope, [&] {
        result = kavlen::cutFromShape(editor_.document(), selection_.cuttingShape(),
                                      selection_.page(), askThrough(editor_.dialogs()));
    });
    if (result.added) {
        selectSample(result.sample);
        selectListRow(result.sample);
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
    const int a = selection_.sample();
    const int b = selection_.otherSample();
    SwapResult result;
    EditScope scope;
    scope.allMeshSlots = scope.samples = true;
    editor_.edit("Swap Texture Numbers", scope,
                 [&] { result = swapTextureNumbers(editor_.document(), a, b); });
    if (result.swapped) {
        // Each selection follows its picture to its new number.
        selectSample(b);
        selection_.setOtherSample(a);
        selectListRow(b);
        {
            const QSignalBlocker block(swap_->other.list);
            swap_->other.list->setCurrentRow(a);
        }
        showOtherSample();
        showSelectedSample();
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
    const FindFirstResult result = findFirst(editor_.document(), findState_, selection_.sample());
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
    const FindNextResult result = findNext(editor_.document(), findState_, selection_.sample());
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
    TextureSetResult result;
    EditScope scope;
    scope.samples = scope.allMeshSlots = true;
    const AskUser ask = askThrough(editor_.dialogs());
    editor_.edit("Restore Tav File", scope, [&] {
        result = restoreTextureSet(editor_.document(), toPath(*path), [&](const UserQuestion& q) {
            busy.release();
            return ask(q);
        });
    });
    busy.release();
    showMessages(result.messages);
}

void TexturePanel::setTintUnused(bool on) {
    tintUnused_ = on;
    redrawPageView();
}

void TexturePanel::atlasEdited(const AtlasEditResult& result) {
    const Package& wad = editor_.document();
    const int count = static_cast<int>(wad.texInfoCount);
    // A deleted sample hands its selection to the sample that took its number.
    const auto follow = [&](int sample) {
        if (sample >= 0 && sample < static_cast<int>(result.newSampleNumber.size()) &&
            result.newSampleNumber[sample] >= 0)
            sample = result.newSampleNumber[sample];
        return count == 0 ? -1 : std::clamp(sample, 0, count - 1);
    };
    selectSample(follow(selection_.sample()));
    selection_.setOtherSample(follow(selection_.otherSample()));
    int page = selection_.page();
    if (page < static_cast<int>(result.newPageNumber.size()) && result.newPageNumber[page] >= 0)
        page = result.newPageNumber[page];
    else if (const auto mark = sampleMark(wad, selection_.sample()); mark && result.texelsMoved)
        page = mark->page;
    selection_.setPage(std::clamp(page, 0, std::max(wad.pageCount() - 1, 0)));
    findState_.reset();
    hits_.clear();
    setPicked("Not picked", false);
    fillPageSelector();
    fillTextureList();
    selectListRow(selection_.sample());
    showOtherSample();
    showSelectedSample();
    redrawPageView();
}

} // namespace kavlen
