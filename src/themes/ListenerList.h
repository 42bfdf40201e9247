#pragma once
// Listeners to the messages of subclassed controls: method references (a method and
// the object it runs on), called in the order they registered until one handles the
// message. A listener that throws is unregistered and the rest still run. Portable.
#include <functional>
#include <vector>

template <class... Args>
class ListenerList {
public:
    // A method reference: Code identifies the method, Data the object.
    struct Listener {
        const void* Code = nullptr;
        void* Data = nullptr;
        std::function<void(Args..., bool& handled)> Call;
    };

    // Makes the reference to method M of object.
    template <auto M, class T>
    static Listener Bind(T* object)
    {
        Listener listener;
        listener.Code = reinterpret_cast<const void*>(&Thunk<M, T>);
        listener.Data = object;
        listener.Call = [object](Args... args, bool& handled) { Thunk<M, T>(object, args..., handled); };
        return listener;
    }

    int Count() const { return static_cast<int>(listeners_.size()); }

    // Appends the listener unless the same method of the same object is registered.
    void Register(Listener listener)
    {
        int index;
        if (!Find(listener, index))
            listeners_.push_back(std::move(listener));
    }
    void Unregister(const Listener& listener)
    {
        int index;
        if (Find(listener, index))
            listeners_.erase(listeners_.begin() + index);
    }
    bool Find(const Listener& listener, int& index) const
    {
        for (index = 0; index < Count(); ++index) {
            const Listener& l = listeners_[static_cast<size_t>(index)];
            if (l.Code == listener.Code && l.Data == listener.Data)
                return true;
        }
        return false;
    }

    // Calls the listeners in order until one sets handled; a listener may register or
    // unregister listeners meanwhile (the count is read before each call). One that
    // throws is dropped, and the listener that moved into its place runs next.
    bool Dispatch(Args... args)
    {
        bool handled = false;
        for (int i = 0; !handled && i < Count();) {
            Listener current = listeners_[static_cast<size_t>(i)];
            try {
                current.Call(args..., handled);
                ++i;
            } catch (...) {
                Unregister(current);
                handled = false;
            }
        }
        return handled;
    }

private:
    template <auto M, class T>
    static void Thunk(T* object, Args... args, bool& handled)
    {
        (object->*M)(args..., handled);
    }

    std::vector<Listener> listeners_;
};
