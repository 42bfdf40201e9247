#pragma once
// Building a form in code, component by component, the way a form description lists
// them: BeginLoading, Place each control, then FinishLoading.
#include "ui/Controls.h"

// A new control owned by owner, named, placed and (when given) parented.
template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    T* c = new T(owner);
    c->Name = name;
    c->SetBounds(left, top, width, height);
    if (parent)
        c->SetParent(parent);
    return c;
}

// A new non-visual component owned by owner, named.
template <class T>
T* Make(TComponent* owner, const char* name)
{
    T* c = new T(owner);
    c->Name = name;
    return c;
}

inline void BeginLoading(TComponent& form) { form.ComponentState |= csLoading; }

// Every owned component, then the form itself, leave the loading state.
inline void FinishLoading(TComponent& form)
{
    for (int i = 0; i < form.ComponentCount(); ++i)
        form.Components(i)->Loaded();
    form.Loaded();
}
