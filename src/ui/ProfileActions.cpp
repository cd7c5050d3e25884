// SPDX-License-Identifier: Apache-2.0
#include "ProfileActions.h"

#include "profiles/Profile.h"
#include "protocol/Catalogue.h"
#include "protocol/ParameterNames.h"
#include "protocol/ParameterValues.h"
#include "protocol/WriteSenders.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace kelvane {

namespace {
// What availability depends on: the frames, the list that a running operation locks, and Setting.
constexpr Control Frames[] = {Control::UART_Control, Control::Ethernet_Control, Control::Set_PPPOE};
constexpr Control Watched[] = {Control::UART_Control, Control::Ethernet_Control, Control::Set_PPPOE,
                               Control::Device_List, Control::Setting};
}  // namespace

ProfileActions::ProfileActions(QWidget &window, Panel &panel)
    : m_window(window), m_panel(panel), m_menu(std::make_unique<QMenu>(&window))
{
    m_save = new QAction(tr("导出参数…"), this);
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_load = new QAction(tr("导入参数…"), this);
    m_load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(m_save, &QAction::triggered, this, &ProfileActions::save);
    connect(m_load, &QAction::triggered, this, &ProfileActions::load);
    // Window-wide shortcuts, without a menu bar that would change the layout.
    m_window.addAction(m_save);
    m_window.addAction(m_load);
    m_menu->addAction(m_save);
    m_menu->addAction(m_load);

    for (Control control : Watched) {
        if (QWidget *widget = m_window.findChild<QWidget *>(controlName(control)))
            widget->installEventFilter(this);
    }
    for (Control control : Frames) {
        QWidget *frame = m_window.findChild<QWidget *>(controlName(control));
        if (!frame)
            continue;
        frame->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(frame, &QWidget::customContextMenuRequested, this, [this, frame](const QPoint &at) {
            refresh();
            m_menu->popup(frame->mapToGlobal(at));
        });
    }
    refresh();
}

ProfileActions::~ProfileActions() = default;

bool ProfileActions::canLoad() const
{
    for (Control frame : Frames) {
        if (!m_panel.isEnabled(frame))
            return false;
    }
    // Scans, reads and writes lock the list while they run.
    return m_panel.isEnabled(Control::Device_List);
}

bool ProfileActions::canSave() const
{
    // Only a read that got every answer opens Setting.
    return canLoad() && m_panel.isEnabled(Control::Setting);
}

void ProfileActions::save()
{
    if (!canSave())
        return;
    const QString title = tr("导出参数");
    const QString refused = tr("窗口中的参数不能导出：");
    const auto values = ParameterValues::fromPanel(m_panel);
    if (!values) {
        showMessage(title, refused + u'\n' + values.error().message);
        return;
    }
    // A profile from the window is a whole set, so loading it shows this window again.
    for (const Parameter &parameter : catalogue()) {
        if (!values.value().contains(parameter)) {
            showMessage(title, refused + u'\n' + invalidValueMessage(parameter));
            return;
        }
    }
    const QString path = chooseFile(true);
    if (path.isEmpty())
        return;
    if (const auto error = saveProfile(values.value(), path))
        showMessage(title, tr("参数文件没有保存：") + u'\n' + error->message);
}

void ProfileActions::load()
{
    if (!canLoad())
        return;
    const QString path = chooseFile(false);
    if (path.isEmpty())
        return;
    const auto values = loadProfile(path);
    const QString reason = values ? listMismatch(values.value(), path) : values.error().message;
    if (!reason.isEmpty()) {
        showMessage(tr("导入参数"), tr("参数文件没有导入，窗口中的参数都没有改变：") + u'\n' + reason);
        return;
    }
    // Every item was found in its list above, so nothing is refused half way.
    values.value().applyTo(m_panel);
}

QString ProfileActions::listMismatch(const ParameterValues &values, const QString &file) const
{
    for (const Parameter *parameter : values.parameters()) {
        if (parameter->kind != ValueKind::Choice)
            continue;
        const QString value = values.value(*parameter);
        // The index goes on the wire, so the item must stand at the catalogue's place.
        const auto *box = m_window.findChild<QComboBox *>(controlName(parameter->control));
        if (!box || box->itemText(int(parameter->items.indexOf(value))) != value) {
            return tr("%1：%2：列表中没有“%3”这一项").arg(file, parameterKey(*parameter), value);
        }
    }
    return {};
}

bool ProfileActions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        refresh();
    return QObject::eventFilter(watched, event);
}

void ProfileActions::refresh()
{
    m_save->setEnabled(canSave());
    m_load->setEnabled(canLoad());
}

QString ProfileActions::chooseFile(bool saving)
{
    const FileChooser &chooser = saving ? m_chooseSaveFile : m_chooseLoadFile;
    if (chooser)
        return chooser();
    QFileDialog dialog(&m_window, saving ? tr("导出参数") : tr("导入参数"), m_directory);
    dialog.setNameFilters({tr("参数文件 (*.json)"), tr("所有文件 (*)")});
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("json"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_directory = dialog.directory().absolutePath();
    return dialog.selectedFiles().value(0);
}

void ProfileActions::showMessage(const QString &title, const QString &text)
{
    if (m_showMessage) {
        m_showMessage(title, text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, &m_window);
    box.exec();
}

}  // namespace kelvane
