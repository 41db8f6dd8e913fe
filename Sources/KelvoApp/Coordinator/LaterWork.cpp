#include "KelvoApp/Coordinator/LaterWork.h"

#include "Base/Foundation/DispatchQueue.h"
#include "Base/Foundation/DispatchTime.h"

namespace kelvo {

void LaterWork::after(double seconds, std::function<void()> work) const {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + seconds, weakly(std::move(work)));
}

void LaterWork::soon(std::function<void()> work) const {
    DispatchQueue::main().async(weakly(std::move(work)));
}

std::function<void()> LaterWork::weakly(std::function<void()> work) const {
    std::weak_ptr<bool> alive = alive_;
    return [alive, work = std::move(work)] {
        if (alive.lock()) work();
    };
}

}  // namespace kelvo
