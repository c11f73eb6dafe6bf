#include "gui/shell/messages.h"

#include <QMessageBox>
#include <QPushButton>
#include <exception>

#include "gui/shell/qt_text.h"
#include "key/core/errors.h"
#include "key/core/texts.h"

namespace brisolt::gui {

namespace {
Messages::Sink& CurrentSink() {
    static Messages::Sink sink;
    return sink;
}
bool& CurrentAnswer() {
    static bool yes = false;
    return yes;
}
Messages::SaveAnswer& CurrentSaveAnswer() {
    static Messages::SaveAnswer answer = Messages::SaveAnswer::Cancel;
    return answer;
}
} // namespace

void Messages::SetSink(Sink sink) {
    CurrentSink() = std::move(sink);
}

void Messages::SetAnswer(bool yes) {
    CurrentAnswer() = yes;
}

void Messages::SetSaveAnswer(SaveAnswer answer) {
    CurrentSaveAnswer() = answer;
}

Messages::SaveAnswer Messages::AskToSave(QWidget* parent, const QString& text) {
    if (CurrentSink()) {
        CurrentSink()(Kind::Question, text);
        return CurrentSaveAnswer();
    }
    QMessageBox box(QMessageBox::Question, Q(texts::kMessageCaption), text, QMessageBox::NoButton,
                    parent);
    QPushButton* save = box.addButton(Q(texts::mainwindow::kSaveFirst), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(Q(texts::mainwindow::kDontSave), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(Q(texts::mainwindow::kCancel), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return SaveAnswer::Save;
    }
    return box.clickedButton() == discard ? SaveAnswer::Discard : SaveAnswer::Cancel;
}

QString Messages::ErrorText(const QString& text) {
    return text.endsWith('.') ? text : text + '.';
}

void Messages::Show(QWidget* parent, const QString& text) {
    if (CurrentSink()) {
        CurrentSink()(Kind::Message, text);
        return;
    }
    QMessageBox box(QMessageBox::Question, Q(texts::kMessageCaption), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

void Messages::ShowError(QWidget* parent, const QString& text) {
    const QString shown = ErrorText(text);
    if (CurrentSink()) {
        CurrentSink()(Kind::Error, shown);
        return;
    }
    QMessageBox box(QMessageBox::Critical, Q(texts::kProgramName), shown, QMessageBox::Ok, parent);
    box.exec();
}

bool Messages::Ask(QWidget* parent, const QString& text) {
    if (CurrentSink()) {
        CurrentSink()(Kind::Question, text);
        return CurrentAnswer();
    }
    QMessageBox box(QMessageBox::Question, Q(texts::kMessageCaption), text, QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(Q(texts::kYes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(Q(texts::kNo), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void RunGuarded(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        Messages::ShowError(parent, QString::fromStdString(MessageOf(error)));
    }
}

} // namespace brisolt::gui
