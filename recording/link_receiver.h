// The link events of the kernel's class vector while a recording is open: TZClassVector
// connects an event sink to the vector's connection point and hands each event to its
// handlers; TCVecEvts owns one and writes a link fragment for every link the kernel adds or
// removes.
#pragma once

#include "recording/parent_links.h"
#include "recording/recording_state.h"

#include <windows.h>
#include <ocidl.h>

#include <zkernel.h>

#include <wrl/client.h>

#include <functional>
#include <span>

namespace kv {

class TZClassVector;
class LinkEventSink;

// A handler of OnLinkAdd or OnLinkDelete: the wrapper that received the event and the two
// classes of the link, as the event passed them (either may be null).
using TZClassVectorOnLinkAdd =
    std::function<void(TZClassVector& ASender, IDispatch* clsParent, IDispatch* clsChild)>;
using TZClassVectorOnLinkDelete = TZClassVectorOnLinkAdd;

// The event-source wrapper around the kernel's class vector; it has no owner.
class TZClassVector {
public:
    TZClassVector();
    // Disconnects first.
    ~TZClassVector();
    TZClassVector(const TZClassVector&) = delete;
    TZClassVector& operator=(const TZClassVector&) = delete;

    TZClassVectorOnLinkAdd OnLinkAdd;
    TZClassVectorOnLinkDelete OnLinkDelete;

    // Keeps the vector and advises the event sink on its connection point for the link events.
    // A vector without such a connection point is kept without events and is not an error.
    void Connect(IZClassVector* classVector);
    // Unadvises the sink and releases the vector; nothing when not connected.
    void Disconnect() noexcept;
    bool Connected() const noexcept { return classVector_.Get() != nullptr; }
    IZClassVector* ClassVector() const noexcept { return classVector_.Get(); }
    // Whether the event sink is advised (false for a vector without the connection point).
    bool ReceivesEvents() const noexcept { return sink_.Get() != nullptr; }

    // One event from the sink, its arguments in declaration order: DISPID 1 goes to OnLinkAdd,
    // 2 to OnLinkDelete, any other is ignored.
    void Dispatch(DISPID id, std::span<const VARIANT> arguments);

private:
    Microsoft::WRL::ComPtr<IZClassVector> classVector_;
    Microsoft::WRL::ComPtr<IConnectionPoint> connectionPoint_;
    Microsoft::WRL::ComPtr<LinkEventSink> sink_;
    DWORD cookie_ = 0;
};

// The recording's link receiver: every link the kernel adds or removes while the recording is
// open becomes a link fragment at the moment of the event. As it sees every link change, it also
// keeps the parents of the vector's classes for the class fragments.
class TCVecEvts final : public RecordingLinkReceiver {
public:
    // Connects to the class vector of the model; raises when the model cannot give one.
    explicit TCVecEvts(IZModel* model);
    void Disconnect() noexcept override;

    // The parents kept for that class vector; null unless it is the one whose link events
    // arrive here.
    ParentLinks* ParentLinksOf(IZClassVector* vector);

private:
    static void WriteLink(IDispatch* parent, IDispatch* child, bool remove);

    ParentLinks parentLinks_; // before classVector_: it outlives the connection
    TZClassVector classVector_;
};

// The parents kept by the open recording's receiver for that class vector; null when there is
// none to trust (no recording, or no link events from that vector).
ParentLinks* RecordingParentLinks(IZClassVector* vector);

} // namespace kv
