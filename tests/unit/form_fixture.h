// Form1 on the fake desktop, loaded as at program start.
#pragma once

#include "app/form1.h"
#include "platform/fake/fake_services.h"

namespace pelmora {

struct FormOnFakeDesktop {
    FakePlatform fake;
    Form1 form{fake.Services()};
    FormOnFakeDesktop() { form.Form_Load(); }
};

}  // namespace pelmora
