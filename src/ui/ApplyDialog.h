// SPDX-License-Identifier: Apache-2.0
// What an apply from the modules table asks before it starts: the first
// module IP, verify, restart, and how many modules at once.
#pragma once

#include <QDialog>

#include <optional>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace kelvane {

struct ApplyChoice {
    QString firstIp;  // empty: each module keeps its address, unless the profile holds one
    bool verify = true;
    bool reset = false;
    int parallel = 8;
};

class ApplyDialog final : public QDialog {
    Q_OBJECT
public:
    // `modules` and `file` are for the question's text.
    ApplyDialog(int modules, const QString &file, QWidget *parent = nullptr);

    ApplyChoice choice() const;
    QLineEdit *firstIpEdit() const { return m_firstIp; }

    // The dialog, run modally; none when it was cancelled.
    static std::optional<ApplyChoice> ask(int modules, const QString &file, QWidget *parent);

private:
    QLineEdit *m_firstIp = nullptr;
    QCheckBox *m_verify = nullptr;
    QCheckBox *m_reset = nullptr;
    QSpinBox *m_parallel = nullptr;
};

}  // namespace kelvane
