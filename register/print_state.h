#pragma once
#include <QString>
#include <array>
#include <memory>

class App;
struct PrintOutput;

// What the print pipeline keeps for the whole run: the document a run is for and the copy mark
// it prints with, which the invoice's texts read; the printer and the preview beside them
// (print_output.h) belong to the windows.
struct PrintState {
    // The eight print values of the last request; [0] is the document's label, whose first
    // characters are its kind ("FR  7/05/2024", or the kind alone), [1] its number.
    std::array<QString, 8> gRepPar;
    // The copy marking of the run being printed: "ORYGINAŁ", "KOPIA" or empty; the report takes
    // it and empties it.
    QString gDrukEgzemplarz;
    std::shared_ptr<PrintOutput> output;
};

PrintState& printState(App& app);
