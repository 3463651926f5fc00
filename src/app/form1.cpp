#include "app/form1.h"

#include "sampling/screen_reading.h"

namespace pelmora {

Form1::Form1(Platform platform) : sampling(platform.desktop, getPanel), platform_(platform) {
    PlaceRegions();
    PlacePages();
    sampling.Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Form1::Form_Load() {
    ResetCursorPage();
    SettingsPath = platform_.files.ExecutableDirectory() + platform_.files.Separator() + "zarade.ini";
    LoadSettings();
    const ScreenSize size = GetScreenSize(platform_.desktop);
    ScreenWidth = size.width;
    ScreenHeight = size.height;
    ResetEditor();
    sampling.SamplingState = kSamplingStopped;
    RegisterHotkeys();
}

void Form1::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    sampling.Timer1.SetEnabled(false);
    SaveSettings();
    ReleaseHotkeys();
}

void Form1::Option2_Click(int index) {
    for (Frame& page : Frame2) page.SetVisible(false);
    Frame2[static_cast<std::size_t>(index)].SetVisible(true);
    sampling.Check1.SetFocus();
}

void Form1::Label7_DblClick() { platform_.shell.Open(std::string("mailto:") + kSupportAddress); }

void Form1::Timer1_Timer() {
    sampling.ReadOut();
}

}  // namespace pelmora
