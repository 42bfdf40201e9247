#pragma once
class TComboBox;

// Adds the serial ports present on this machine to the box's items ("COM1", ...), in
// the order the system lists them, without sorting or clearing the box.
void EnumComPorts(TComboBox* box);
