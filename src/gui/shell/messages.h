#pragma once
// Every box the program shows goes through here, so tests can read the messages instead of
// clicking modal boxes blind.

#include <QString>
#include <functional>

class QWidget;

namespace brisolt::gui {

class Messages {
public:
    enum class Kind {
        Message, // the program's own messages: "Bestätigung", question icon, "OK"
        Error,   // failures: stop icon, program title, "." appended
        Question // as a message, with "Ja" and "Nein"
    };
    using Sink = std::function<void(Kind, const QString&)>;

    static void Show(QWidget* parent, const QString& text);
    static void ShowError(QWidget* parent, const QString& text);
    // Asks a question; true for "Ja". "Nein" is the default, so a stray Enter keeps things
    // as they are.
    static bool Ask(QWidget* parent, const QString& text);
    // Asks whether to save first: "Speichern", "Nicht speichern", "Abbrechen" (the default,
    // so a stray Enter loses nothing).
    enum class SaveAnswer { Save, Discard, Cancel };
    static SaveAnswer AskToSave(QWidget* parent, const QString& text);

    // While a sink is set, messages go to it instead of a modal box (tests); questions get
    // the answer set here ("Nein" unless told otherwise).
    static void SetSink(Sink sink);
    static void SetAnswer(bool yes);
    static void SetSaveAnswer(SaveAnswer answer);

    // The error text as the error box shows it: with a final ".".
    static QString ErrorText(const QString& text);
};

// Runs a command; a conversion or file error (or any other failure) ends the command and
// is shown in the error box. The one place where the program catches errors.
void RunGuarded(QWidget* parent, const std::function<void()>& command);

} // namespace brisolt::gui
