#pragma once

// The four weights of the proposal's type. Roboto ships 400, 500 and 700: semibold is drawn with
// Roboto Bold, so that it stays apart from medium text.
enum class FontWeight { Regular, Medium, Semibold, Bold };
