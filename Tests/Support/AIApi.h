#pragma once

class TestBackend;

// ai/generate: proposes estimate lines from the request, and keeps a snapshot per project for
// the analytics.
namespace AIApi {
void install(TestBackend &backend);
}
