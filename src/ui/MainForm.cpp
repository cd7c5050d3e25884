// SPDX-License-Identifier: Apache-2.0
#include "MainForm.h"

#include "Appearance.h"
#include "ComboBoxes.h"
#include "SingleByteValidator.h"
#include "TextBoxes.h"
#include "core/Version.h"
#include "core/QtOneShotTimer.h"
#include "protocol/UdpLink.h"
#include "ui_MainForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>

namespace kelvane {

namespace {
// On the wire, the log's lines break at CR LF; the widget keeps plain LF.
QString toWidget(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}
}  // namespace

MainForm::MainForm(QWidget *parent)
    : MainForm(std::make_unique<UdpLink>(), std::make_unique<QtOneShotTimer>(), parent)
{
}

MainForm::MainForm(std::unique_ptr<Link> winsock, std::unique_ptr<OneShotTimer> timer1, QWidget *parent)
    : MainForm(*winsock, *timer1, &QDateTime::currentDateTime, parent)
{
    m_ownedLink = std::move(winsock);
    m_ownedTimer = std::move(timer1);
}

MainForm::MainForm(Link &winsock, OneShotTimer &timer1, StatusLog::Clock clock, QWidget *parent)
    : QWidget(parent),
      m_ui(std::make_unique<::Ui::MainForm>()),
      m_engine(winsock, timer1),
      m_presenter(*this, m_engine, std::move(clock))
{
    loadPictures();
    m_ui->setupUi(this);
    prepareControls();
    applyAppearance(*this);
    setWindowIcon(toolIcon());
    setFixedSize(size());
    connectEvents();
    m_profiles = std::make_unique<ProfileActions>(*this, *this);

    m_presenter.startUp();

    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

MainForm::~MainForm() = default;

void MainForm::prepareControls()
{
    // One name, told apart by index, as the pair stands in the layout.
    m_ui->Label19_0->setObjectName(QStringLiteral("Label19"));
    m_ui->Label19_0->setProperty("index", 0);
    m_ui->Label19_1->setObjectName(QStringLiteral("Label19"));
    m_ui->Label19_1->setProperty("index", 1);
    m_ui->Label1->setText(QLatin1String("Version: ") + QLatin1String(Version));

    for (QComboBox *box : findChildren<QComboBox *>())
        combo::prepare(*box);

    auto *singleByte = new SingleByteValidator(this);
    for (QLineEdit *box : {m_ui->Set_Time_Delimiter, m_ui->Set_Byte_Delimiter, m_ui->G_IP, m_ui->MASK, m_ui->S_IP, m_ui->Port_Number, m_ui->D_IP, m_ui->D_Port})
        textbox::prepare(*box, singleByte);
    textbox::prepare(*m_ui->User_ID);
    textbox::prepare(*m_ui->User_Password);

    // Characters go in as typed, never through an input method.
    m_ui->User_Password->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_ui->User_Password->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    m_ui->User_Password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));

    // The status pane is written by the tool alone.
    m_ui->Help_Text->setReadOnly(true);
    m_ui->Help_Text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void MainForm::connectEvents()
{
    connect(m_ui->Scan, &QPushButton::clicked, &m_presenter, &Presenter::scan);
    connect(m_ui->Setting, &QPushButton::clicked, &m_presenter, &Presenter::setting);
    connect(m_ui->L_Default, &QPushButton::clicked, &m_presenter, &Presenter::restoreDefaults);
    connect(m_ui->Run_Device, &QPushButton::clicked, &m_presenter, &Presenter::runDevice);
    connect(m_ui->Exit_Command, &QPushButton::clicked, this, &QWidget::close);

    connect(m_ui->Device_List, &DeviceList::chosen, &m_presenter, &Presenter::deviceListClicked);

    for (auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), this);
        connect(enter, &QShortcut::activated, this, &MainForm::activateDefault);
    }
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, m_ui->Exit_Command, &QPushButton::click);

    auto *modules = new QAction(tr("模块一览…"), this);
    modules->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(modules, &QAction::triggered, this, [this] { showModules(); });
    addAction(modules);
    m_ui->Device_List->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_ui->Device_List->addAction(modules);
}

ModulesWindow &MainForm::showModules()
{
    if (!m_modules)
        m_modules = std::make_unique<ModulesWindow>(m_engine, m_presenter);
    m_modules->showBeside(*this);
    return *m_modules;
}

void MainForm::activateDefault()
{
    if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
        button->click();
    else
        m_ui->Setting->click();
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (confirmExit())
        m_presenter.exitConfirmed();
    event->accept();
}

bool MainForm::confirmExit()
{
    QMessageBox box(QMessageBox::NoIcon, tr("退出"), tr("确认退出配置系统！"),
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Ok);
    // OK first on every desktop, as the question has always been laid out.
    box.setStyleSheet(QStringLiteral("QDialogButtonBox { button-layout: 0; }"));
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

QWidget *MainForm::control(Control control) const
{
    switch (control) {
    case Control::Scan:
        return m_ui->Scan;
    case Control::Device_List:
        return m_ui->Device_List;
    case Control::L_Default:
        return m_ui->L_Default;
    case Control::Setting:
        return m_ui->Setting;
    case Control::Run_Device:
        return m_ui->Run_Device;
    case Control::Exit_Command:
        return m_ui->Exit_Command;
    case Control::UART_Control:
        return m_ui->UART_Control;
    case Control::Ethernet_Control:
        return m_ui->Ethernet_Control;
    case Control::Set_PPPOE:
        return m_ui->Set_PPPOE;
    case Control::Set_Baud_Rate:
        return m_ui->Set_Baud_Rate;
    case Control::Set_Stream_Control:
        return m_ui->Set_Stream_Control;
    case Control::Set_Bits:
        return m_ui->Set_Bits;
    case Control::Set_Time_Delimiter:
        return m_ui->Set_Time_Delimiter;
    case Control::Set_Parity:
        return m_ui->Set_Parity;
    case Control::Set_Byte_Delimiter:
        return m_ui->Set_Byte_Delimiter;
    case Control::Set_Stopbit:
        return m_ui->Set_Stopbit;
    case Control::Disp_Mode:
        return m_ui->Disp_Mode;
    case Control::G_IP:
        return m_ui->G_IP;
    case Control::MASK:
        return m_ui->MASK;
    case Control::S_IP:
        return m_ui->S_IP;
    case Control::Port_Number:
        return m_ui->Port_Number;
    case Control::D_IP:
        return m_ui->D_IP;
    case Control::D_Port:
        return m_ui->D_Port;
    case Control::Socket_Mode:
        return m_ui->Socket_Mode;
    case Control::Ethernet_Mode:
        return m_ui->Ethernet_Mode;
    case Control::Direct:
        return m_ui->Direct;
    case Control::PPPOE:
        return m_ui->PPPOE;
    case Control::DHCP:
        return m_ui->DHCP;
    case Control::User_ID:
        return m_ui->User_ID;
    case Control::User_Password:
        return m_ui->User_Password;
    }
    Q_UNREACHABLE();
    return nullptr;
}

QComboBox *MainForm::comboBox(Control control) const
{
    auto *box = qobject_cast<QComboBox *>(this->control(control));
    Q_ASSERT(box);
    return box;
}

void MainForm::setEnabled(Control control, bool enabled)
{
    QWidget *widget = this->control(control);
    QWidget *focus = focusWidget();
    // Qt moves the focus off a control it disables and leaves it there; the
    // operator's next Enter must not land on Scan because a read ran.
    const auto holds = [widget](QWidget *w) { return w && (w == widget || widget->isAncestorOf(w)); };
    // Locking four commands hands the focus along them: the first one counts.
    const bool locking = m_focusBeforeLock && !m_focusBeforeLock->isEnabled();
    if (!enabled && holds(focus) && !locking)
        m_focusBeforeLock = focus;
    widget->setEnabled(enabled);
    if (enabled && holds(m_focusBeforeLock)) {
        m_focusBeforeLock->setFocus(Qt::OtherFocusReason);
        m_focusBeforeLock = nullptr;
    }
}

bool MainForm::isEnabled(Control control) const
{
    // The control's own setting: a control inside a disabled frame keeps it.
    return !this->control(control)->testAttribute(Qt::WA_ForceDisabled);
}

void MainForm::addItems(Control combo, const QStringList &items)
{
    combo::addItems(*comboBox(combo), items);
}

int MainForm::selectedIndex(Control combo) const
{
    return comboBox(combo)->currentIndex();
}

bool MainForm::selectIndex(Control combo, int index)
{
    return combo::select(*comboBox(combo), index);
}

QString MainForm::text(Control control) const
{
    QWidget *widget = this->control(control);
    if (auto *box = qobject_cast<QComboBox *>(widget))
        return box->currentText();
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    return {};
}

void MainForm::setText(Control control, const QString &text)
{
    QWidget *widget = this->control(control);
    if (auto *box = qobject_cast<QComboBox *>(widget))
        combo::setText(*box, text);
    else if (auto *line = qobject_cast<QLineEdit *>(widget))
        textbox::setText(*line, text);
}

bool MainForm::isChecked(Control option) const
{
    auto *button = qobject_cast<QRadioButton *>(control(option));
    return button && button->isChecked();
}

void MainForm::setChecked(Control option, bool checked)
{
    auto *button = qobject_cast<QRadioButton *>(control(option));
    if (!button)
        return;
    // An exclusive group refuses to uncheck its checked button.
    m_ui->startModeGroup->setExclusive(checked);
    button->setChecked(checked);
    m_ui->startModeGroup->setExclusive(true);
}

void MainForm::appendDevice(const QString &itemText)
{
    m_ui->Device_List->addItem(itemText);
}

void MainForm::removeDevice(int row)
{
    m_ui->Device_List->removeRow(row);
}

int MainForm::deviceRowCount() const
{
    return m_ui->Device_List->count();
}

QString MainForm::deviceText(int row) const
{
    const QListWidgetItem *item = m_ui->Device_List->item(row);
    return item ? item->text() : QString();
}

int MainForm::selectedDeviceRow() const
{
    return m_ui->Device_List->selectedRow();
}

void MainForm::setDeviceDetails(int row, const QString &toolTip, bool warned)
{
    QListWidgetItem *item = m_ui->Device_List->item(row);
    if (!item)
        return;
    // Rich text, so that a long warning wraps instead of running off the screen.
    QString html = toolTip.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    item->setToolTip(QStringLiteral("<p>%1</p>").arg(html));
    // No taller than the item's text, so that a marked item keeps its height.
    const int line = m_ui->Device_List->fontMetrics().height();
    m_ui->Device_List->setIconSize(QSize(line, line));
    item->setIcon(warned ? style()->standardIcon(QStyle::SP_MessageBoxWarning) : QIcon());
}

QString MainForm::logText() const
{
    return m_ui->Help_Text->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

void MainForm::replaceLog(const QString &text)
{
    m_ui->Help_Text->setPlainText(toWidget(text));
}

void MainForm::appendLog(const QString &entry)
{
    // A new block per entry keeps the cost of a write flat however long the
    // log grows. The view stays where the reader left it.
    if (m_ui->Help_Text->document()->isEmpty()) {
        m_ui->Help_Text->setPlainText(QLatin1Char('\n') + toWidget(entry));
        return;
    }
    QScrollBar *bar = m_ui->Help_Text->verticalScrollBar();
    const int position = bar->value();
    m_ui->Help_Text->appendPlainText(toWidget(entry));
    bar->setValue(position);
}

void MainForm::setAddressDisplay(const QString &text, const QString &toolTip)
{
    m_ui->DISP_IP->setText(text);
    m_ui->DISP_IP->setToolTip(toolTip);
    fitToText(*m_ui->DISP_IP);
}

void MainForm::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, this);
    box.exec();
}

bool MainForm::askYesNo(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace kelvane
