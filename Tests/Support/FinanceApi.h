#pragma once

class TestBackend;

// Payments of a project and its estimate analytics.
namespace FinanceApi {
void install(TestBackend &backend);
}
