// The one application object of the configure tests: its title (the test
// program's file name) is the caption of the framework's standard box.
#ifndef KL_TESTS_CONFIGURE_TEST_APP_H
#define KL_TESTS_CONFIGURE_TEST_APP_H

#include "win_app.h"

namespace kltest {

// Returns the application object, its title set on first use.
CWinApp& TestApp();

}  // namespace kltest

#endif
