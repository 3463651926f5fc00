// SPDX-License-Identifier: MIT
#include "app/wayland_notice.h"

namespace pelmora {

namespace {
constexpr const char* kSection = "Wayland";
constexpr const char* kKey = "ShowNotice";
}  // namespace

void WaylandNotice::Load(const SettingsFile& settings) { silenced_ = ReadSetting(settings, kSection, kKey) == "0"; }

void WaylandNotice::Show(bool waylandSession, const SettingsFile& settings) {
    if (!waylandSession || silenced_) return;
    if (!dialogs_.ShowNotice(kWaylandNoticeText, kWaylandNoticeCheckBox)) return;
    silenced_ = true;
    Save(settings);
}

void WaylandNotice::Save(const SettingsFile& settings) const {
    if (silenced_) WriteSetting(settings, kSection, kKey, "0");
}

}  // namespace pelmora
