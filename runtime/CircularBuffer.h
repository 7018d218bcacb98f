// Ports: typed ring buffers over sample memory that the port never owns.
// The owner of a connection allocates the memory and hands it to both ends
// with SetBuffer; in the models every ring has one element.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

namespace Quenrix {

class CircularBufferBase {
public:
    CircularBufferBase(size_t iSizeOf = 0) : m_iSizeOf(iSizeOf) {}
    virtual ~CircularBufferBase() {}

    // Plain copy of iNumberItems elements between two element arrays.
    virtual void Copy(void* pSource, void* pDestination, size_t iNumberItems) = 0;
    // Ring-to-ring copy from offset iFrom of this ring to offset iTo of the other.
    virtual void Copy(size_t iFrom, CircularBufferBase* pDestination, size_t iTo,
                      size_t iNumberItems) = 0;
    virtual bool Zero(size_t iStart, size_t iNumberItems, void* pReference) = 0;
    virtual void* AllocateMemory(size_t iNumberItems) = 0;
    // A non-null argument is released as an element array; null releases the
    // port's own memory and empties the port.
    virtual void DeallocateMemory(void* pBuffer) = 0;

    void SetBuffer(void* pBuffer, size_t iNumberItems, size_t iAdvanceRate, size_t iStartLocation)
    {
        m_pBuffer = pBuffer;
        m_iSize = iNumberItems;
        m_iRate = iAdvanceRate;
        m_iCurrent = iStartLocation;
        UpdateCurrentItem();
    }
    void SetRate(size_t iRate) { m_iRate = iRate; }
    size_t GetRate() const { return m_iRate; }
    void SetHistoryDepth(size_t iDepth) { m_iHistoryDepth = iDepth; }
    size_t GetHistoryDepth() const { return m_iHistoryDepth; }
    void* GetBufferMemory() const { return m_pBuffer; }
    size_t GetSize() const { return m_iSize; }
    size_t GetCurrentIndex() const { return m_iCurrent; }
    size_t GetSizeOf() const { return m_iSizeOf; }
    void SetContiguousProperty(bool bContiguous) { m_bContiguousBuffer = bContiguous; }
    bool GetContiguousProperty() const { return m_bContiguousBuffer; }
    bool IsConnected() const { return m_bIsConnected; }
    void SetConnected(bool bConnected) { m_bIsConnected = bConnected; }

    // Ring position of the element iIndex places after the current one; valid
    // for offsets below the ring length (one wrap at most).
    size_t IndexAt(size_t iIndex) const
    {
        if (iIndex == 0)
            return m_iCurrent;
        size_t i = m_iCurrent + iIndex;
        if (i >= m_iSize)
            i -= m_iSize;
        return i;
    }

    // Resets the current index and the history depth; the memory is kept.
    void Initialize()
    {
        m_iCurrent = 0;
        m_iHistoryDepth = 1;
        UpdateCurrentItem();
    }
    // Moves the current index on by the advance rate, wrapping on the ring.
    void Advance()
    {
        if (m_iSize == 0)
            return;
        m_iCurrent = (m_iCurrent + m_iRate) % m_iSize;
        UpdateCurrentItem();
    }
    void* GetPointer(size_t iIndex) const
    {
        if (iIndex == 0)
            return m_pCurrentItem;
        return static_cast<char*>(m_pBuffer) + IndexAt(iIndex) * m_iSizeOf;
    }
    void* GetReadPtr() const { return GetPointer(0); }
    void* GetWritePtr() const { return GetPointer(0); }
    // Copies iNumberItems elements from pSource into the ring at the current element.
    void Write(const void* pSource, size_t iNumberItems)
    {
        const char* pFrom = static_cast<const char*>(pSource);
        for (size_t k = 0; k < iNumberItems; ++k)
            std::memcpy(GetPointer(k), pFrom + k * m_iSizeOf, m_iSizeOf);
    }
    // Replaces the port's own memory by a new zero-filled ring of iNumberItems.
    // Only for memory the port was given through AllocateMemory.
    void ResizeMemory(size_t iNumberItems)
    {
        DeallocateMemory(nullptr);
        m_pBuffer = AllocateMemory(iNumberItems);
        m_iSize = iNumberItems;
        UpdateCurrentItem();
        Zero(0, iNumberItems, nullptr);
    }

protected:
    // Keeps the address of the current element, so that the access to it,
    // the one every block makes on every sample, is a single load.
    void UpdateCurrentItem()
    {
        m_pCurrentItem = m_pBuffer ? static_cast<char*>(m_pBuffer) + m_iCurrent * m_iSizeOf : nullptr;
    }

    size_t m_iRate = 1;
    size_t m_iHistoryDepth = 1;
    bool m_bContiguousBuffer = false;
    size_t m_iSizeOf;
    size_t m_iCurrent = 0;
    void* m_pBuffer = nullptr;
    size_t m_iSize = 0;
    bool m_bIsConnected = true;
    void* m_pCurrentItem = nullptr;
};

template <class T>
class CircularBuffer : public CircularBufferBase {
public:
    CircularBuffer() : CircularBufferBase(sizeof(T)) {}

    void Copy(void* pSource, void* pDestination, size_t iNumberItems) override
    {
        if (iNumberItems)
            std::memmove(pDestination, pSource, iNumberItems * sizeof(T));
    }

    void Copy(size_t iFrom, CircularBufferBase* pDestination, size_t iTo,
              size_t iNumberItems) override
    {
        if (iNumberItems == 0)
            return;
        T* pSrc = static_cast<T*>(m_pBuffer);
        T* pDst = static_cast<T*>(pDestination->GetBufferMemory());
        size_t s = IndexAt(iFrom);
        size_t d = pDestination->IndexAt(iTo);
        if (iNumberItems == 1) {
            pDst[d] = pSrc[s];
            return;
        }
        const size_t iDstSize = pDestination->GetSize();
        size_t iLeft = iNumberItems;
        while (iLeft > 0) {
            size_t iChunk = m_iSize - s;
            if (iDstSize - d < iChunk)
                iChunk = iDstSize - d;
            if (iLeft < iChunk)
                iChunk = iLeft;
            Copy(pSrc + s, pDst + d, iChunk);
            d += iChunk;
            if (d >= iDstSize)
                d = 0;
            s += iChunk;
            if (s >= m_iSize)
                s = 0;
            iLeft -= iChunk;
        }
    }

    bool Zero(size_t iStart, size_t iNumberItems, void*) override
    {
        T* p = static_cast<T*>(m_pBuffer);
        for (size_t k = 0; k < iNumberItems; ++k)
            p[IndexAt(iStart + k)] = T(0);
        return true;
    }

    void* AllocateMemory(size_t iNumberItems) override
    {
        return new (std::nothrow) T[iNumberItems];
    }

    void DeallocateMemory(void* pBuffer) override
    {
        if (pBuffer) {
            delete[] static_cast<T*>(pBuffer);
            return;
        }
        delete[] static_cast<T*>(m_pBuffer);
        m_pBuffer = nullptr;
        m_iCurrent = 0;
        m_iSize = 0;
        UpdateCurrentItem();
    }

    T& operator[](size_t iIndex)
    {
        if (iIndex == 0)
            return *static_cast<T*>(m_pCurrentItem);
        return static_cast<T*>(m_pBuffer)[IndexAt(iIndex)];
    }
    const T& operator[](size_t iIndex) const
    {
        if (iIndex == 0)
            return *static_cast<const T*>(m_pCurrentItem);
        return static_cast<const T*>(m_pBuffer)[IndexAt(iIndex)];
    }

    // Copies iNumberItems elements out of the ring, starting at offset iFrom.
    void Copy(size_t iFrom, T* pDestination, size_t iNumberItems) const
    {
        for (size_t k = 0; k < iNumberItems; ++k)
            pDestination[k] = (*this)[iFrom + k];
    }
    // Copies iNumberItems elements into the ring, starting at offset iFrom.
    void CopyFrom(size_t iFrom, const T* pSource, size_t iNumberItems)
    {
        for (size_t k = 0; k < iNumberItems; ++k)
            (*this)[iFrom + k] = pSource[k];
    }
};

// Points a model's slot pointer at the sample memory that the model keeps
// for that connection inside itself, cleared as a new one-element array would
// be. Memory inside the model lets the compiler tell the connections apart
// from each other and from the blocks' state.
template <class T>
void UseSlot(T*& slot, T& memory)
{
    memory = T(0);
    slot = &memory;
}

// Makes a model's external port advance one element per sample and keep at
// least the current element.
inline void SetPortRate(CircularBufferBase& port)
{
    port.SetRate(1);
    if (port.GetHistoryDepth() < 1)
        port.SetHistoryDepth(1);
}

// A bus is an owned array of ports whose width the owner sets.
class CircularBufferBus {
public:
    virtual void Initialize(size_t iSize) = 0;
    virtual ~CircularBufferBus() {}
    virtual CircularBufferBase* Get(size_t iIndex) = 0;
    size_t GetSize() const { return m_iSize; }

protected:
    size_t m_iSize = 0;
};

template <class T>
class CircularBufferBusT : public CircularBufferBus {
public:
    CircularBufferBusT() = default;
    CircularBufferBusT(const CircularBufferBusT&) = delete;
    CircularBufferBusT& operator=(const CircularBufferBusT&) = delete;
    ~CircularBufferBusT() override { delete[] m_pCirBufBus; }

    // Same width: the ports and their wiring stay. Other width: fresh ports.
    void Initialize(size_t iSize) override
    {
        if (iSize == m_iSize)
            return;
        delete[] m_pCirBufBus; // array delete destroys the ports last to first
        m_pCirBufBus = nullptr;
        m_iSize = iSize;
        if (iSize > 0)
            m_pCirBufBus = new T[iSize];
    }

    CircularBufferBase* Get(size_t iIndex) override { return &m_pCirBufBus[iIndex]; }
    T& operator[](size_t iIndex) { return m_pCirBufBus[iIndex]; }

protected:
    T* m_pCirBufBus = nullptr;
};

} // namespace Quenrix
