// The object behind the transmitter's memory handle.
#pragma once

#include "usb3_tx.h"

#include <string>

class AMIContainer {
public:
    usb3_tx cMarlowindModel;
    std::string sMessage; // handed to the host through msg
};
