#pragma once
// Runs tarvexprint the way the host does, on blocks published by tarvex-host under a prefix and
// a settings folder of the test's own, and collects what it said.

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class E2eRun {
public:
    E2eRun();
    ~E2eRun();

    /// Runs tarvex-host with the run's prefix; returns its exit code, output in `out`.
    int host(const QStringList& args, QString* out = nullptr);
    /// Publishes raw bytes as block `kind`.
    void put(int kind, const QByteArray& bytes);
    /// Publishes a job file (blocks 1, 2, 9, 10).
    void publish(const QString& jobPath);
    /// Runs tarvexprint MASK; the lines it wrote to standard error end up in `stderrLines`.
    int print(const QString& mask);
    /// The error lines the program showed, without the "tarvexprint: error: " prefix.
    QStringList errors() const;
    /// The header as it is published now.
    QByteArray header();

    QProcessEnvironment env;
    QStringList stderrLines;
    QTemporaryDir dir;
};

/// A print-settings block of the given version, all switches off.
QByteArray PrintSettingsBlock(int version);
