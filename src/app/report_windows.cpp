#include "app/report_windows.h"

#include "app/qt_text.h"
#include "document/safe_write.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <system_error>

namespace kavlen {

namespace {

QPushButton* addCloseButton(QDialog* window, QBoxLayout* layout) {
    auto* button = new QPushButton(QObject::tr("Close"), window);
    QObject::connect(button, &QPushButton::clicked, window, &QDialog::accept);
    layout->addWidget(button, 0, Qt::AlignRight);
    return button;
}

} // namespace

AboutMeshWindow::AboutMeshWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutMeshWindow");
    setWindowTitle(tr("About Mesh"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto value = [this] {
        auto* label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };
    meshType = value();
    lightingType = value();
    shine = value();
    transparency = value();
    form->addRow(tr("Mesh Type"), meshType);
    form->addRow(tr("Lighting Type"), lightingType);
    form->addRow(tr("Shine"), shine);
    form->addRow(tr("Transparency"), transparency);
    layout->addLayout(form);

    texturesGroup = new QGroupBox(tr("Textures used"), this);
    auto* groupLayout = new QVBoxLayout(texturesGroup);
    textures = new QListWidget(texturesGroup);
    textures->setObjectName("texturesUsed");
    groupLayout->addWidget(textures);
    layout->addWidget(texturesGroup, 1);

    invalidNote = new QLabel(tr(kInvalidTexturesNote), this);
    QPalette red = invalidNote->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    invalidNote->setPalette(red);
    invalidNote->hide();
    layout->addWidget(invalidNote);
    closeButton = addCloseButton(this, layout);

    connect(textures, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = textures->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < samples_.size())
            emit textureClicked(samples_[static_cast<std::size_t>(row)]);
    });
    connect(textures, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = textures->row(item);
        if (row >= 0 && static_cast<std::size_t>(row) < samples_.size())
            emit textureDoubleClicked(samples_[static_cast<std::size_t>(row)]);
    });
    resize(260, 380);
}

void AboutMeshWindow::fill(const AboutMeshReport& report) {
    meshType->setText(toQt(report.meshType));
    lightingType->setText(toQt(report.lightingType));
    shine->setText(toQt(report.shine));
    transparency->setText(toQt(report.transparency));
    texturesGroup->setTitle(toQt(report.texturesCaption));
    textures->clear();
    for (const std::string& label : report.textureLabels)
        textures->addItem(toQt(label));
    samples_ = report.texturesUsed;
    invalidNote->setVisible(report.invalidTextures);
}

AboutMeshesWindow::AboutMeshesWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutMeshesWindow");
    setWindowTitle(tr("About Meshes"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        auto* group = new QGroupBox(tr(kMeshPropertyGroups[i]), this);
        auto* groupLayout = new QVBoxLayout(group);
        lists[i] = new QListWidget(group);
        lists[i]->setObjectName(QString("meshList%1").arg(i));
        groupLayout->addWidget(lists[i]);
        row->addWidget(group);
        connect(lists[i], &QListWidget::itemClicked, this,
                [this, i](QListWidgetItem* item) { entryClicked(i, lists[i]->row(item)); });
    }
    layout->addLayout(row, 1);
    auto* bottom = new QHBoxLayout;
    countLabel = new QLabel(this);
    bottom->addWidget(countLabel, 1);
    layout->addLayout(bottom);
    closeButton = addCloseButton(this, bottom);
    resize(620, 360);
}

void AboutMeshesWindow::fill(const AboutMeshesReport& report) {
    report_ = report;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        lists[i]->clear();
        for (const std::string& label : report.labels[i])
            lists[i]->addItem(toQt(label));
    }
    countLabel->setText(toQt(report.countLabel));
}

void AboutMeshesWindow::entryClicked(std::size_t list, int row) {
    for (std::size_t i = 0; i < lists.size(); ++i) {
        if (i != list) {
            const QSignalBlocker block(lists[i]);
            lists[i]->clearSelection();
            lists[i]->setCurrentRow(-1);
        }
    }
    const auto& meshSlots = report_.meshSlots[list];
    if (row >= 0 && static_cast<std::size_t>(row) < meshSlots.size())
        emit meshChosen(meshSlots[static_cast<std::size_t>(row)]);
}

KeysGuideWindow::KeysGuideWindow(QWidget* parent, const std::filesystem::path& readme)
    : QWidget(parent, Qt::Window) {
    setObjectName("keysGuideWindow");
    setWindowTitle(tr("Keys Guide"));
    auto* layout = new QVBoxLayout(this);
    text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFont("monospace"));
    layout->addWidget(text);

    std::error_code ec;
    std::vector<std::uint8_t> bytes;
    std::string message;
    if (!std::filesystem::is_regular_file(readme, ec)) {
        text->setPlainText(tr("The keys guide file \"%1\" was not found.\n\n%2")
                               .arg(fromPath(readme.filename()), fromPath(readme)));
    } else if (!readWholeFile(readme, bytes, message)) {
        text->setPlainText(toQt(message));
    } else {
        QString contents = decodeText(std::string(bytes.begin(), bytes.end()));
        contents.replace("\r\n", "\n");
        text->setPlainText(contents);
    }
    resize(640, 560);
}

} // namespace kavlen
