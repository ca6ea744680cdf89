#pragma once
// The mouse wheel over a list the user is not working in turns nothing: over the settings lists it
// would change a radio setting, over the band selector start the question that erases the
// channels. A list with the focus takes the wheel as usual.

class QComboBox;

namespace tirna {

void guard_wheel(QComboBox* list);

}  // namespace tirna
