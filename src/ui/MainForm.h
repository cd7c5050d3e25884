// SPDX-License-Identifier: Apache-2.0
// MainForm: the tool's one window. It lays out the controls, lends them to the
// Presenter through Panel, and hands every click, key and close to it.
#pragma once

#include "ModulesWindow.h"
#include "ProfileActions.h"
#include "core/Panel.h"
#include "Presenter.h"
#include "operations/Engine.h"

#include <QComboBox>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace Ui {
class MainForm;
}

namespace kelvane {

class MainForm final : public QWidget, public Panel {
    Q_OBJECT
public:
    // The real socket on port 65002 and a real Timer1.
    explicit MainForm(QWidget *parent = nullptr);
    MainForm(Link &winsock, OneShotTimer &timer1, StatusLog::Clock clock, QWidget *parent = nullptr);
    ~MainForm() override;

    Engine &engine() { return m_engine; }
    Presenter &presenter() { return m_presenter; }
    // Ctrl+S, Ctrl+O and the frames' menu.
    ProfileActions &profiles() { return *m_profiles; }
    // Ctrl+L and Device_List's menu: the modules table, made on first use, brought to the front.
    ModulesWindow &showModules();
    ModulesWindow *modules() const { return m_modules.get(); }

    using QWidget::isEnabled;
    using QWidget::setEnabled;

    void setEnabled(Control control, bool enabled) override;
    bool isEnabled(Control control) const override;

    void addItems(Control combo, const QStringList &items) override;
    int selectedIndex(Control combo) const override;
    bool selectIndex(Control combo, int index) override;

    QString text(Control control) const override;
    void setText(Control control, const QString &text) override;

    bool isChecked(Control option) const override;
    void setChecked(Control option, bool checked) override;

    void appendDevice(const QString &itemText) override;
    void removeDevice(int row) override;
    int deviceRowCount() const override;
    QString deviceText(int row) const override;
    int selectedDeviceRow() const override;
    void setDeviceDetails(int row, const QString &toolTip, bool warned) override;

    QString logText() const override;
    void replaceLog(const QString &text) override;
    void appendLog(const QString &entry) override;

    void setAddressDisplay(const QString &text, const QString &toolTip) override;

    void showMessage(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;

protected:
    // Every way of closing the window asks first; it closes whatever the answer.
    void closeEvent(QCloseEvent *event) override;

private:
    MainForm(std::unique_ptr<Link> winsock, std::unique_ptr<OneShotTimer> timer1, QWidget *parent);

    void prepareControls();
    void connectEvents();
    // Enter: a focused button clicks itself, anything else clicks Setting.
    void activateDefault();
    bool confirmExit();

    // The form's member that stands for the control.
    QWidget *control(Control control) const;
    QComboBox *comboBox(Control control) const;

    std::unique_ptr<::Ui::MainForm> m_ui;
    std::unique_ptr<Link> m_ownedLink;
    std::unique_ptr<OneShotTimer> m_ownedTimer;
    // The focus a read or write took away when it locked the commands.
    QPointer<QWidget> m_focusBeforeLock;
    Engine m_engine;
    Presenter m_presenter;
    // Gone before the controls it watches.
    std::unique_ptr<ProfileActions> m_profiles;
    // Gone before the engine and presenter it works with.
    std::unique_ptr<ModulesWindow> m_modules;
};

}  // namespace kelvane
