#pragma once
// The instruments of the cab panel: needles, the digital speed, the E233 bars, the lamps, the
// voltmeter and ammeter, and the value display window. Called by Timer1Timer on the UI thread;
// they write only the display model (and the voltage and current the meters show).
#include <string>

namespace velmoria {

class Run;

void needlesAndSpeed(Run& run);     // step 2
void othersVisible(Run& run);       // step 6
void brakeAndPowerLamps(Run& run);  // step 7
void voltAndAmmeter(Run& run);      // step 12
void valueDisplay(Run& run);        // step 39

// A number in fixed notation with the given decimals, no thousands separators.
std::string fixedText(long double value, int decimals);

}  // namespace velmoria
