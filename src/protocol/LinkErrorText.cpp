// SPDX-License-Identifier: Apache-2.0
#include "LinkErrorText.h"

#include <QCoreApplication>

namespace kelvane {

QString linkErrorText(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return QCoreApplication::translate("LinkErrorText", "端口已被其他程序占用");
    case QAbstractSocket::SocketAccessError:
        return QCoreApplication::translate("LinkErrorText", "没有使用该端口或发送广播的权限");
    case QAbstractSocket::NetworkError:
        return QCoreApplication::translate("LinkErrorText", "网络不可用，请检查网线和网络设置");
    case QAbstractSocket::SocketResourceError:
        return QCoreApplication::translate("LinkErrorText", "系统网络资源不足");
    case QAbstractSocket::DatagramTooLargeError:
        return QCoreApplication::translate("LinkErrorText", "数据包过大");
    case QAbstractSocket::SocketAddressNotAvailableError:
        return QCoreApplication::translate("LinkErrorText", "本机没有可用的网络地址");
    default:
        return QCoreApplication::translate("LinkErrorText", "网络错误");
    }
}

}  // namespace kelvane
