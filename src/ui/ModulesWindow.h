// SPDX-License-Identifier: Apache-2.0
// The modules table: a second window beside the main one, every module of
// Device_List in one sortable, filterable table; a profile applied to the
// selected modules, the selected modules read, the table exported as CSV.
#pragma once

#include "ApplyDialog.h"
#include "ModulesModel.h"
#include "Presenter.h"
#include "profiles/FleetRunner.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace kelvane {

class ModulesWindow final : public QWidget {
    Q_OBJECT
public:
    // The file the operator chose, empty when the dialog was cancelled.
    using FileChooser = std::function<QString()>;
    using ApplyAsker = std::function<std::optional<ApplyChoice>(int modules, const QString &file)>;
    using MessageShower = std::function<void(const QString &title, const QString &text)>;
    // Whether to go on despite the warnings in `text`.
    using Confirmer = std::function<bool(const QString &title, const QString &text)>;

    // The engine and presenter of the main window: its list, its link, its lock.
    ModulesWindow(Engine &engine, Presenter &presenter, QWidget *parent = nullptr);
    ~ModulesWindow() override;

    ModulesModel &model() { return *m_model; }
    QTableView *view() const { return m_view; }
    QSortFilterProxyModel *proxy() const { return m_proxy; }
    // The run under way or the last one; none before the first.
    FleetRunner *runner() const { return m_runner.get(); }
    bool running() const { return m_runner && m_runner->running(); }
    // From the start of the last run to its end, in ms.
    qint64 lastRunMs() const { return m_lastRunMs; }

    QAction *applyAction() const { return m_apply; }
    QAction *readAction() const { return m_read; }
    QAction *exportAction() const { return m_export; }
    QAction *cancelAction() const { return m_cancel; }

    // Dialogs block; tests put their own answers here.
    void setProfileChooser(FileChooser chooser) { m_chooseProfile = std::move(chooser); }
    void setCsvChooser(FileChooser chooser) { m_chooseCsv = std::move(chooser); }
    void setApplyAsker(ApplyAsker asker) { m_askApply = std::move(asker); }
    void setMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }
    void setConfirmer(Confirmer confirmer) { m_confirm = std::move(confirmer); }

    // Shown, in front, and the first time placed right of `window`.
    void showBeside(QWidget &window);

    void applyProfile();
    void readSelected();
    void exportCsv();
    void cancel();
    // The selected modules, top to bottom as the table shows them.
    QList<DeviceAddress> selectedModules() const;
    // The rows as the table shows them: sorted and filtered.
    QList<ModuleRow> shownRows() const;

signals:
    void runFinished();

private:
    QList<JobPlan> plansFor(const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles,
                            const ApplyChoice &choice) const;
    // Why the addresses cannot be handed out, empty when they can; warnings the operator declined count too.
    QString refusedAddresses(const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles);
    void startRun(const QList<JobPlan> &plans, int parallel);
    void runEnded();
    void refreshActions();
    QString chooseFile(bool saving);
    void showMessage(const QString &title, const QString &text);
    bool confirm(const QString &title, const QString &text);

    Engine &m_engine;
    Presenter &m_presenter;
    ModulesModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QTableView *m_view = nullptr;
    QLineEdit *m_filter = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_summary = nullptr;
    QAction *m_apply = nullptr;
    QAction *m_read = nullptr;
    QAction *m_export = nullptr;
    QAction *m_cancel = nullptr;
    QAction *m_selectAll = nullptr;
    QMenu *m_menu = nullptr;
    std::unique_ptr<FleetRunner> m_runner;
    QElapsedTimer m_clock;
    qint64 m_lastRunMs = 0;
    bool m_placed = false;
    FileChooser m_chooseProfile;
    FileChooser m_chooseCsv;
    ApplyAsker m_askApply;
    MessageShower m_showMessage;
    Confirmer m_confirm;
    QString m_directory;
};

}  // namespace kelvane
