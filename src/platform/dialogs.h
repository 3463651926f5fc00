// SPDX-License-Identifier: MIT
// The platform's modal dialogs: the folder picker, the file dialogs, a message box with an OK
// button and a notice with a check box that silences it.
#pragma once

#include <string>

namespace pelmora {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The folder the user chose in the folder picker titled title; "" when cancelled.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
    // The file the user chose in the open dialog titled title, which lists the files filter
    // names (a description with the patterns in parentheses: "24位位图 (*.Bmp)", matched
    // without regard to case); "" when cancelled. Only an existing file can be chosen.
    virtual std::string ChooseFileToOpen(const std::string& title, const std::string& filter) = 0;
    // The file name the user gave in the save dialog titled title; "" when cancelled. An
    // existing file can be chosen without being asked whether to replace it.
    virtual std::string ChooseFileToSave(const std::string& title, const std::string& filter) = 0;
    // Shows text in a modal box and returns once the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
    // Shows text in a modal box with an OK button and a check box captioned checkBoxCaption;
    // returns once the user has closed it, true when the check box was ticked then.
    virtual bool ShowNotice(const std::string& text, const std::string& checkBoxCaption) = 0;
};

}  // namespace pelmora
