#include "Prompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <cstdio>
#include <cstdlib>

namespace tarvex {

namespace {

std::unique_ptr<Prompt>& current() {
    static std::unique_ptr<Prompt> instance = std::make_unique<StderrPrompt>();
    return instance;
}

void writeLines(const char* label, const QString& text) {
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString& line : lines)
        std::fprintf(stderr, "tarvexprint: %s: %s\n", label, line.toUtf8().constData());
    std::fflush(stderr);
}

QString title() { return QStringLiteral("TarvexPrint"); }

class DialogPrompt final : public Prompt {
public:
    void error(const QString& text) override { QMessageBox::critical(nullptr, title(), text); }
    void warning(const QString& text) override { QMessageBox::warning(nullptr, title(), text); }
    void information(const QString& text) override { QMessageBox::information(nullptr, title(), text); }
    bool confirm(const QString& question) override {
        return QMessageBox::question(nullptr, title(), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
};

} // namespace

void Prompt::log(const QString& text) { writeLines("log", text); }

Prompt& prompt() { return *current(); }

std::unique_ptr<Prompt> setPrompt(std::unique_ptr<Prompt> p) {
    auto previous = std::move(current());
    current() = p ? std::move(p) : std::make_unique<StderrPrompt>();
    return previous;
}

bool isHeadless() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform == "offscreen" || platform == "minimal")
        return true;
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::unique_ptr<Prompt> makeDefaultPrompt() {
    if (isHeadless() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return std::make_unique<StderrPrompt>();
    return std::make_unique<DialogPrompt>();
}

void StderrPrompt::error(const QString& text) { writeLines("error", text); }
void StderrPrompt::warning(const QString& text) { writeLines("warning", text); }
void StderrPrompt::information(const QString& text) { writeLines("note", text); }

bool StderrPrompt::confirm(const QString& question) {
    const bool yes = qgetenv("TARVEX_CONFIRM").trimmed().toLower() == "yes";
    writeLines("question", question);
    std::fprintf(stderr, "tarvexprint: answer (TARVEX_CONFIRM): %s\n", yes ? "yes" : "no");
    std::fflush(stderr);
    return yes;
}

bool RecordingPrompt::confirm(const QString& question) {
    entries.push_back({Kind::Confirm, question});
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

QStringList RecordingPrompt::texts() const {
    QStringList out;
    for (const Entry& e : entries)
        out << e.text;
    return out;
}

} // namespace tarvex
