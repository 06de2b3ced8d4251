// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

// The desktop's choice on Linux: the colour scheme of the desktop portal's settings, which GNOME
// sets from 外観 → ダーク, and which the portal announces whenever it changes.

#include "U_ColorScheme.h"
#include "U_ErrorDisplay.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString AppearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString ColorSchemeKey = QStringLiteral("color-scheme");

// The scheme is 0 (no preference), 1 (dark) or 2 (light). Read, the method of the portal's
// first version, wraps the value in a second variant.
bool PrefersDark(QVariant value) {
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value.toUInt() == 1;
}

void Show(const QVariant& scheme) {
    // A failure keeps what is shown: the appearance is not worth a message box.
    FailureOf([&] { ShowDarkColorScheme(PrefersDark(scheme)); });
}

} // namespace

class TPortalColorScheme : public QObject {
    Q_OBJECT
public:
    explicit TPortalColorScheme(QObject* parent) : QObject(parent) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        // From any sender: naming the portal's service would make Qt ask the bus for its owner
        // and wait for the answer before the first window.
        bus.connect(QString(), PortalPath, SettingsInterface, QStringLiteral("SettingChanged"),
                    this, SLOT(SettingChanged(QDBusMessage)));
        Read(QStringLiteral("ReadOne"));
    }

private slots:
    // The group, the key and the new value.
    void SettingChanged(const QDBusMessage& change) {
        const QVariantList arguments = change.arguments();
        if (arguments.size() == 3 && arguments[0].toString() == AppearanceNamespace &&
            arguments[1].toString() == ColorSchemeKey)
            Show(arguments[2]);
    }

private:
    // Asked without waiting: the first window is made meanwhile, and usually shows already in
    // the answer's colours.
    void Read(const QString& method) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(PortalService, PortalPath, SettingsInterface, method);
        call << AppearanceNamespace << ColorSchemeKey;
        auto* answer =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
        connect(answer, &QDBusPendingCallWatcher::finished, this,
                [this, method](QDBusPendingCallWatcher* answer) {
                    answer->deleteLater();
                    const QDBusPendingReply<QDBusVariant> reply = *answer;
                    if (!reply.isError())
                        Show(reply.value().variant());
                    else if (method != QLatin1String("Read") &&
                             reply.error().type() == QDBusError::UnknownMethod)
                        Read(QStringLiteral("Read")); // a portal older than ReadOne
                });
    }
};

void WatchDesktopColorScheme() {
    new TPortalColorScheme(qApp);
}

// The window manager draws the title bars.
void ShowDarkTitleBars(bool) {}

#include "U_ColorSchemePortal.moc"
