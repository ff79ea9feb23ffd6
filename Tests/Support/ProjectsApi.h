#pragma once

class TestBackend;

// projects/*: the account's projects, their iterations and line summaries, kept as JSON.
namespace ProjectsApi {
void install(TestBackend &backend);
}
