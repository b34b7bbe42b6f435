#pragma once
// The one way the program tells the user something or asks a yes/no question.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tarvex {

/**
 * Every error box, warning, note and confirmation goes through a Prompt. The program sets one
 * at start-up: dialogs with a display, standard error without one; tests install a
 * RecordingPrompt and assert the exact texts.
 */
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void error(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void information(const QString& text) = 0;
    /// Returns true for "yes".
    virtual bool confirm(const QString& question) = 0;
    /// A diagnostic line for whoever runs the program (standard error); never a dialog.
    virtual void log(const QString& text);
};

/// The prompt in force; a StderrPrompt until one is installed.
Prompt& prompt();
/// Installs `p` and returns the previous one (so a test can put it back).
std::unique_ptr<Prompt> setPrompt(std::unique_ptr<Prompt> p);

/// True when no window can be shown: no DISPLAY and no WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen.
bool isHeadless();

/// Dialogs when a display is there, standard error otherwise.
std::unique_ptr<Prompt> makeDefaultPrompt();

/// Writes each text line on its own line of standard error, prefixed by its kind. A confirmation
/// is answered by $TARVEX_CONFIRM ("yes" or "no"; anything else, or unset, is no).
class StderrPrompt final : public Prompt {
public:
    void error(const QString& text) override;
    void warning(const QString& text) override;
    void information(const QString& text) override;
    bool confirm(const QString& question) override;
};

/// Remembers everything said; confirmations are answered from a queue, then by `defaultAnswer`.
class RecordingPrompt final : public Prompt {
public:
    enum class Kind { Error, Warning, Information, Confirm, Log };
    struct Entry {
        Kind kind;
        QString text;
    };

    void error(const QString& text) override { entries.push_back({Kind::Error, text}); }
    void warning(const QString& text) override { entries.push_back({Kind::Warning, text}); }
    void information(const QString& text) override { entries.push_back({Kind::Information, text}); }
    bool confirm(const QString& question) override;
    void log(const QString& text) override { entries.push_back({Kind::Log, text}); }

    /// The texts said so far, in order, of every kind.
    QStringList texts() const;

    std::vector<Entry> entries;
    std::vector<bool> answers;
    bool defaultAnswer = false;
};

} // namespace tarvex
