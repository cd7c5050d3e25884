// SPDX-License-Identifier: Apache-2.0
#include "ApplyDialog.h"

#include "core/Constants.h"
#include "profiles/FleetRunner.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kelvane {

ApplyDialog::ApplyDialog(int modules, const QString &file, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("应用配置"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("把配置文件 %1 写入所选的 %2 个模块。").arg(QFileInfo(file).fileName()).arg(modules)));

    auto *form = new QFormLayout;
    m_firstIp = new QLineEdit;
    m_firstIp->setPlaceholderText(tr("留空：各模块保留自己的地址"));
    m_firstIp->setToolTip(tr("第一个模块的IP地址，其余模块依次加一"));
    auto *ipLabel = new QLabel(tr("第一个模块的IP地址(&I)："));
    ipLabel->setBuddy(m_firstIp);
    form->addRow(ipLabel, m_firstIp);
    m_parallel = new QSpinBox;
    m_parallel->setRange(1, DeviceTableCapacity);
    m_parallel->setValue(DefaultParallel);
    auto *parallelLabel = new QLabel(tr("同时处理的模块数(&N)："));
    parallelLabel->setBuddy(m_parallel);
    form->addRow(parallelLabel, m_parallel);
    layout->addLayout(form);

    m_verify = new QCheckBox(tr("写入后回读校验(&V)"));
    m_verify->setChecked(true);
    m_reset = new QCheckBox(tr("校验后重启模块(&R)"));
    // A restart follows a write that was read back as written, as the command line does it.
    connect(m_reset, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            m_verify->setChecked(true);
        m_verify->setEnabled(!on);
    });
    layout->addWidget(m_verify);
    layout->addWidget(m_reset);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("开始"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_firstIp->setFocus(Qt::OtherFocusReason);
}

ApplyChoice ApplyDialog::choice() const
{
    return {m_firstIp->text().trimmed(), m_verify->isChecked(), m_reset->isChecked(), m_parallel->value()};
}

std::optional<ApplyChoice> ApplyDialog::ask(int modules, const QString &file, QWidget *parent)
{
    ApplyDialog dialog(modules, file, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

}  // namespace kelvane
