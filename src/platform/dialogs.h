// The platform's modal dialogs: the folder picker and a message box with an OK button.
#pragma once

#include <string>

namespace pelmora {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The folder the user chose in the folder picker titled title; "" when cancelled.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
    // Shows text in a modal box and returns once the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace pelmora
