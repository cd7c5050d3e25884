// SPDX-License-Identifier: Apache-2.0
// Saving the window's values as a profile and loading one back: Ctrl+S, Ctrl+O and the frames' menu.
#pragma once

#include "core/Panel.h"

#include <QObject>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

namespace kelvane {

class ParameterValues;

class ProfileActions final : public QObject {
    Q_OBJECT
public:
    // The file the operator chose, empty when the dialog was cancelled.
    using FileChooser = std::function<QString()>;
    using MessageShower = std::function<void(const QString &title, const QString &text)>;

    // `window` holds the named controls that `panel` reaches.
    ProfileActions(QWidget &window, Panel &panel);
    ~ProfileActions() override;

    // Values are shown once a read filled the window, and kept while nothing runs.
    bool canSave() const;
    // A profile goes into open frames only, and never into a read that is filling them.
    bool canLoad() const;

    QAction *saveAction() const { return m_save; }
    QAction *loadAction() const { return m_load; }

    // Dialogs block; tests put their own answers here.
    void setSaveFileChooser(FileChooser chooser) { m_chooseSaveFile = std::move(chooser); }
    void setLoadFileChooser(FileChooser chooser) { m_chooseLoadFile = std::move(chooser); }
    void setMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }

    void save();
    void load();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    QString chooseFile(bool saving);
    void showMessage(const QString &title, const QString &text);
    // Why the window's lists cannot show every value, naming the parameter; empty when they can.
    QString listMismatch(const ParameterValues &values, const QString &file) const;

    QWidget &m_window;
    Panel &m_panel;
    QAction *m_save = nullptr;
    QAction *m_load = nullptr;
    std::unique_ptr<QMenu> m_menu;
    FileChooser m_chooseSaveFile;
    FileChooser m_chooseLoadFile;
    MessageShower m_showMessage;
    // Where the last dialog was left, for this run only.
    QString m_directory;
};

}  // namespace kelvane
