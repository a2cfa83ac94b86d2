#pragma once
// A frame object the program draws itself, through the form component's
// OnPaintEvent; it reacts to the pointer as every frame object does.

#include "TbsActiveSkinObject.h"

class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas& Canvas, bool Direct) override;
};
