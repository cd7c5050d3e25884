// SPDX-License-Identifier: Apache-2.0
#include "ModulesWindow.h"

#include "Appearance.h"
#include "profiles/Fleet.h"
#include "profiles/Profile.h"
#include "protocol/ParameterNames.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace kelvane {

namespace {
QPushButton *buttonFor(QAction *action, const QString &text, const QString &name)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    button->setToolTip(action->toolTip());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
    return button;
}

QAction *windowAction(QWidget &window, const QString &text, const QKeySequence &keys, const QString &name)
{
    auto *action = new QAction(text, &window);
    action->setObjectName(name);
    action->setShortcut(keys);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(u'&').remove(QStringLiteral("…")),
                                                     keys.toString(QKeySequence::NativeText)));
    window.addAction(action);
    return action;
}
}  // namespace

ModulesWindow::ModulesWindow(Engine &engine, Presenter &presenter, QWidget *parent)
    : QWidget(parent, Qt::Window), m_engine(engine), m_presenter(presenter)
{
    setObjectName(QStringLiteral("ModulesWindow"));
    setWindowTitle(tr("模块一览 - Kelvane"));
    setWindowIcon(toolIcon());
    // Closing the main window ends the program, this one open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_model = new ModulesModel(engine, this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(ModulesModel::SortRole);
    m_proxy->setFilterRole(Qt::DisplayRole);
    m_proxy->setFilterKeyColumn(-1);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);

    m_apply = windowAction(*this, tr("应用配置…"), QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("apply"));
    m_read = windowAction(*this, tr("读取所选模块"), QKeySequence(Qt::CTRL | Qt::Key_R), QStringLiteral("read"));
    m_export = windowAction(*this, tr("导出CSV…"), QKeySequence(Qt::CTRL | Qt::Key_E), QStringLiteral("export"));
    m_cancel = windowAction(*this, tr("停止"), QKeySequence(Qt::Key_Escape), QStringLiteral("cancel"));
    m_selectAll = windowAction(*this, tr("全选"), QKeySequence(Qt::CTRL | Qt::Key_A), QStringLiteral("selectAll"));
    connect(m_apply, &QAction::triggered, this, &ModulesWindow::applyProfile);
    connect(m_read, &QAction::triggered, this, &ModulesWindow::readSelected);
    connect(m_export, &QAction::triggered, this, &ModulesWindow::exportCsv);
    connect(m_cancel, &QAction::triggered, this, &ModulesWindow::cancel);

    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setClearButtonEnabled(true);
    m_filter->setPlaceholderText(tr("任一列中的文字"));
    auto *filterLabel = new QLabel(tr("筛选(&F)："));
    filterLabel->setBuddy(m_filter);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);

    m_view = new QTableView;
    m_view->setObjectName(QStringLiteral("modules"));
    m_view->setModel(m_proxy);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(ModulesModel::Position, Qt::AscendingOrder);
    m_view->verticalHeader()->hide();
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    // Widths from the texts a column holds, set once: fitting them to the
    // contents on every change would measure every row at every update.
    const QFontMetrics metrics = m_view->fontMetrics();
    const QStringList widest = {QStringLiteral("000"), QStringLiteral("024B56000000"), QStringLiteral("000.000.000.000"),
                                QStringLiteral("enp0s00 (000.000.000.000)"), tr("IP地址重复，不在网卡子网内"),
                                QStringLiteral("000.000.000.000"), QStringLiteral("115200bps"),
                                catalogueText("TCP服务器") + QStringLiteral("0000")};
    QHeaderView *header = m_view->horizontalHeader();
    for (int column = 0; column < widest.size(); ++column) {
        const QString title = m_model->headerData(column, Qt::Horizontal).toString();
        header->resizeSection(column, std::max(metrics.horizontalAdvance(widest[column]),
                                               metrics.horizontalAdvance(title) + metrics.height()) + metrics.height());
    }
    header->setStretchLastSection(true);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_menu = new QMenu(this);
    m_menu->addAction(m_apply);
    m_menu->addAction(m_read);
    m_menu->addAction(m_export);
    m_menu->addSeparator();
    m_menu->addAction(m_selectAll);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { m_menu->popup(m_view->viewport()->mapToGlobal(at)); });
    connect(m_selectAll, &QAction::triggered, m_view, &QTableView::selectAll);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ModulesWindow::refreshActions);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &ModulesWindow::refreshActions);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &ModulesWindow::refreshActions);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setFormat(tr("%v / %m"));
    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("summary"));

    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_filter, 1);
    top->addWidget(buttonFor(m_apply, tr("应用配置(&A)…"), QStringLiteral("applyButton")));
    top->addWidget(buttonFor(m_read, tr("读取(&D)"), QStringLiteral("readButton")));
    top->addWidget(buttonFor(m_export, tr("导出(&X)…"), QStringLiteral("exportButton")));
    top->addWidget(buttonFor(m_cancel, tr("停止(&S)"), QStringLiteral("cancelButton")));
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_summary, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);

    int width = 0;
    for (int column = 0; column < ModulesModel::ColumnCount; ++column)
        width += header->sectionSize(column);
    resize(std::min(width + 2 * metrics.height() + 8 * metrics.height(), 1400), 32 * metrics.height());
    m_view->setFocus(Qt::OtherFocusReason);
    refreshActions();
}

ModulesWindow::~ModulesWindow()
{
    // Whatever happens to the jobs, the main window is left as it was.
    if (running()) {
        m_engine.setListening(true);
        m_presenter.lockCommands(false);
    }
}

void ModulesWindow::showBeside(QWidget &window)
{
    if (!m_placed) {
        m_placed = true;
        const QRect frame = window.frameGeometry();
        QPoint at = frame.topRight() + QPoint(8, 0);
        if (const QScreen *screen = window.screen()) {
            const QRect room = screen->availableGeometry();
            if (at.x() + width() > room.right())
                at.setX(std::max(room.left(), room.right() - width()));
        }
        move(at);
    }
    show();
    raise();
    activateWindow();
}

QList<DeviceAddress> ModulesWindow::selectedModules() const
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QList<DeviceAddress> modules;
    for (const QModelIndex &index : rows)
        modules << m_model->rows().at(m_proxy->mapToSource(index).row()).module;
    return modules;
}

QList<ModuleRow> ModulesWindow::shownRows() const
{
    QList<ModuleRow> rows;
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        rows << m_model->rows().at(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    return rows;
}

void ModulesWindow::refreshActions()
{
    const bool idle = !running();
    const bool chosen = m_view->selectionModel()->hasSelection();
    m_apply->setEnabled(idle && chosen);
    m_read->setEnabled(idle && chosen);
    m_cancel->setEnabled(!idle && !m_runner->cancelled());
    m_export->setEnabled(m_model->rowCount() > 0);
}

void ModulesWindow::applyProfile()
{
    const QString title = tr("应用配置");
    const QList<DeviceAddress> modules = selectedModules();
    if (running() || modules.isEmpty())
        return;
    if (m_engine.busy()) {
        showMessage(title, tr("主窗口的操作还没有结束，请稍后再试。"));
        return;
    }
    const QString path = chooseFile(false);
    if (path.isEmpty())
        return;
    const QString unchanged = tr("没有向任何模块发送数据：");
    const auto loaded = loadProfile(path);
    if (!loaded) {
        showMessage(title, unchanged + u'\n' + loaded.error().message);
        return;
    }
    const std::optional<ApplyChoice> choice =
        m_askApply ? m_askApply(int(modules.size()), path) : ApplyDialog::ask(int(modules.size()), path, this);
    if (!choice)
        return;
    QList<ParameterValues> profiles(modules.size(), loaded.value());
    if (!choice->firstIp.isEmpty()) {
        const auto numbered = fleetProfiles(loaded.value(), choice->firstIp, int(modules.size()));
        if (!numbered) {
            showMessage(title, unchanged + u'\n' + numbered.error().message);
            return;
        }
        profiles = numbered.value();
    }
    const QString refused = refusedAddresses(modules, profiles);
    if (!refused.isEmpty()) {
        showMessage(title, unchanged + u'\n' + refused);
        return;
    }
    // Checked again: the dialogs ran the event loop.
    if (m_engine.busy() || running())
        return;
    startRun(plansFor(modules, profiles, *choice), choice->parallel);
}

void ModulesWindow::readSelected()
{
    const QList<DeviceAddress> modules = selectedModules();
    if (running() || modules.isEmpty())
        return;
    if (m_engine.busy()) {
        showMessage(tr("读取所选模块"), tr("主窗口的操作还没有结束，请稍后再试。"));
        return;
    }
    ApplyChoice choice;
    choice.verify = false;
    QList<JobPlan> plans = plansFor(modules, QList<ParameterValues>(modules.size()), choice);
    for (JobPlan &plan : plans)
        plan.readOnly = true;
    startRun(plans, DefaultParallel);
}

QList<JobPlan> ModulesWindow::plansFor(const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles,
                                       const ApplyChoice &choice) const
{
    const DeviceTable &table = m_engine.deviceTable();
    QList<JobPlan> plans;
    for (qsizetype i = 0; i < modules.size(); ++i) {
        const int row = table.indexOf(modules[i]);
        plans.append({modules[i], row < 0 ? QByteArray() : table.entry(row), profiles[i],
                      choice.verify || choice.reset, choice.reset});
    }
    return plans;
}

QString ModulesWindow::refusedAddresses(const QList<DeviceAddress> &modules, const QList<ParameterValues> &profiles)
{
    const Parameter &ip = *parameterByKey(u"ip_address");
    QList<AddressAssignment> assignments;
    for (qsizetype i = 0; i < modules.size(); ++i) {
        if (!profiles[i].contains(ip))
            continue;
        const int row = m_model->rowOf(modules[i]);
        assignments.append({modules[i].toHex(), profiles[i].value(ip),
                            row < 0 ? CardSubnet{} : m_model->rows().at(row).card});
    }
    if (assignments.isEmpty())
        return {};
    QStringList others;
    for (const ModuleRow &row : m_model->rows()) {
        if (!modules.contains(row.module) && !row.source.isEmpty())
            others << row.source;
    }
    QStringList cards;
    for (const NetworkCard &card : m_engine.link().cards())
        cards << card.address.toString();
    QStringList refused;
    QStringList warned;
    for (const Finding &finding : checkAssignedAddresses(assignments, others, cards))
        (finding.severity == Finding::Severity::Refused ? refused : warned) << finding.message;
    if (!refused.isEmpty())
        return refused.join(u'\n');
    if (!warned.isEmpty() && !confirm(tr("应用配置"), tr("仍要写入这些地址吗？") + u'\n' + warned.join(u'\n')))
        return tr("没有写入：地址的警告没有被接受。");
    return {};
}

void ModulesWindow::startRun(const QList<JobPlan> &plans, int parallel)
{
    m_runner = std::make_unique<FleetRunner>(m_engine.link(), plans, parallel);
    connect(m_runner.get(), &FleetRunner::jobPhase, this, [this](int index, ModuleJob::Phase phase) {
        m_model->setPhase(m_model->rowOf(m_runner->plans().at(index).module), phase);
    });
    connect(m_runner.get(), &FleetRunner::jobEnded, this, [this](int index, int ended) {
        m_model->setEnded(m_model->rowOf(m_runner->plans().at(index).module), *m_runner->job(index));
        m_progress->setValue(ended);
    });
    connect(m_runner.get(), &FleetRunner::finished, this, &ModulesWindow::runEnded);
    for (const JobPlan &plan : plans)
        m_model->setWaiting(m_model->rowOf(plan.module));
    m_progress->setRange(0, int(plans.size()));
    m_progress->setValue(0);
    m_summary->setText(tr("正在处理 %1 个模块…").arg(plans.size()));
    // The jobs' engines take what arrives; the main window's engine, idle, hears none of it.
    m_presenter.lockCommands(true);
    m_engine.setListening(false);
    m_clock.start();
    m_runner->start();
    refreshActions();
}

void ModulesWindow::cancel()
{
    if (!running())
        return;
    m_summary->setText(tr("正在停止：已开始的模块完成后结束…"));
    m_runner->cancel();
    refreshActions();
}

void ModulesWindow::runEnded()
{
    m_lastRunMs = m_clock.elapsed();
    int succeeded = 0;
    int failed = 0;
    int notStarted = 0;
    for (qsizetype i = 0; i < m_runner->count(); ++i) {
        const ModuleJob *job = m_runner->job(i);
        if (!job) {
            m_model->setNotStarted(m_model->rowOf(m_runner->plans().at(i).module));
            ++notStarted;
        } else if (job->outcome().succeeded()) {
            ++succeeded;
        } else {
            ++failed;
        }
    }
    m_summary->setText(tr("%1 个成功，%2 个失败，%3 个未开始").arg(succeeded).arg(failed).arg(notStarted));
    m_engine.setListening(true);
    m_presenter.lockCommands(false);
    refreshActions();
    emit runFinished();
}

void ModulesWindow::exportCsv()
{
    if (m_model->rowCount() == 0)
        return;
    const QString path = chooseFile(true);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(modulesCsv(shownRows())) < 0 || !file.commit())
        showMessage(tr("导出CSV"), tr("CSV文件没有保存：%1：%2").arg(path, file.errorString()));
}

QString ModulesWindow::chooseFile(bool saving)
{
    const FileChooser &chooser = saving ? m_chooseCsv : m_chooseProfile;
    if (chooser)
        return chooser();
    QFileDialog dialog(this, saving ? tr("导出CSV") : tr("应用配置"), m_directory);
    dialog.setNameFilters(saving ? QStringList{tr("CSV文件 (*.csv)"), tr("所有文件 (*)")}
                                 : QStringList{tr("参数文件 (*.json)"), tr("所有文件 (*)")});
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(saving ? QStringLiteral("csv") : QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_directory = dialog.directory().absolutePath();
    return dialog.selectedFiles().value(0);
}

void ModulesWindow::showMessage(const QString &title, const QString &text)
{
    if (m_showMessage) {
        m_showMessage(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box.exec();
}

bool ModulesWindow::confirm(const QString &title, const QString &text)
{
    if (m_confirm)
        return m_confirm(title, text);
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace kelvane
