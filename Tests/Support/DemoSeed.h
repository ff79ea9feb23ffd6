#pragma once

class TestBackend;

// One verified account with a few projects, an iteration and payments, for running the app
// against the test backend.
namespace DemoSeed {
inline constexpr const char *email = "demo@tessmark.test";
inline constexpr const char *password = "demo12345";
void seed(TestBackend &backend);
} // namespace DemoSeed
