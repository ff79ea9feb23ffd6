#pragma once

class TestBackend;

// auth/* and users/profile: registration with e-mail verification, sign-in, password reset,
// sign-out, profile.
namespace AccountsApi {
void install(TestBackend &backend);
}
