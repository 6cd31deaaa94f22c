#include "app/texture_number_windows.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavlen {

namespace {

SwapTexturesWindow::Side addSide(QWidget* window, QBoxLayout* row, const QString& caption,
                                 const char* name) {
    auto* group = new QGroupBox(caption, window);
    auto* layout = new QVBoxLayout(group);
    SwapTexturesWindow::Side side;
    side.picture = new QLabel(group);
    side.picture->setFixedSize(64, 64);
    side.picture->setAlignment(Qt::AlignCenter);
    side.size = new QLabel(group);
    side.list = new QListWidget(group);
    side.list->setObjectName(name);
    layout->addWidget(side.picture, 0, Qt::AlignHCenter);
    layout->addWidget(side.size);
    layout->addWidget(side.list);
    row->addWidget(group);
    return side;
}

} // namespace

SwapTexturesWindow::SwapTexturesWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("swapWindow");
    setWindowTitle(tr("Swap Texture Numbers"));
    auto* row = new QHBoxLayout(this);
    selected = addSide(this, row, tr("Selected Texture"), "selectedList");
    other = addSide(this, row, tr("Other Texture"), "otherList");
    auto* column = new QVBoxLayout;
    swapButton = new QPushButton(tr("Swap"), this);
    swapButton->setEnabled(false);
    column->addWidget(swapButton);
    // Faces keep their numbers: the note says what a swap means for them.
    auto* note = new QPlainTextEdit(this);
    note->setReadOnly(true);
    note->setPlainText("WARNING:\nSwapping \ntexture \nnumbers will \nchange \ntexturing of \n"
                       "meshes that \nuse the \ntextures. ");
    note->setFixedWidth(110);
    column->addWidget(note);
    row->addLayout(column);
    resize(420, 300);
}

FindTextureWindow::FindTextureWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("findWindow");
    setWindowTitle(tr("Find Texture"));
    auto* layout = new QVBoxLayout(this);
    status = new QLabel(this);
    layout->addWidget(status);
    layout->addWidget(new QLabel(tr("Highlighted face:"), this));
    auto* row = new QHBoxLayout;
    group = new QGroupBox(tr("Texture#"), this);
    auto* groupLayout = new QVBoxLayout(group);
    picture = new QLabel(group);
    picture->setFixedSize(64, 64);
    picture->setAlignment(Qt::AlignCenter);
    groupLayout->addWidget(picture);
    row->addWidget(group);
    foundFaces = new QListWidget(this);
    row->addWidget(foundFaces);
    auto* buttons = new QVBoxLayout;
    findFirst = new QPushButton(tr("Find First"), this);
    findNext = new QPushButton(tr("Find Next"), this);
    findNext->setEnabled(false);
    closeButton = new QPushButton(tr("Close"), this);
    buttons->addWidget(findFirst);
    buttons->addWidget(findNext);
    buttons->addWidget(closeButton);
    buttons->addStretch();
    row->addLayout(buttons);
    layout->addLayout(row);
    meshes = new QListWidget(this);
    layout->addWidget(meshes);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    resize(360, 320);
}

void FindTextureWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit shown();
}

void FindTextureWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

ChooseTextureWindow::ChooseTextureWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("chooseWindow");
    setWindowTitle(tr("Choose Texture"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    list = new QListWidget(this);
    layout->addWidget(list);
    resize(200, 160);
}

} // namespace kavlen
