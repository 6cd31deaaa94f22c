#include "app/moveables_window.h"

#include "app/qt_text.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavlen {

MoveablesWindow::MoveablesWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setWindowTitle("Moveables");
    auto* layout = new QVBoxLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(text_);
    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(240, 280);
}

void MoveablesWindow::setLines(const std::vector<std::string>& lines) {
    QStringList all;
    for (const std::string& line : lines)
        all << toQt(line);
    text_->setPlainText(all.join('\n'));
}

QString MoveablesWindow::text() const {
    return text_->toPlainText();
}

} // namespace kavlen
