// N-dimensional array in column-major order; blocks receive their vector and
// matrix parameters (filter roots, FIR taps, LFSR taps) in it.
#pragma once

#include <cstddef>
#include <utility>

namespace Quenrix {

template <class T>
class Matrix {
public:
    Matrix()
        : m_pData(nullptr), m_nDimensions(2), m_piDimension(new size_t[2]()),
          m_iNumElements(0), m_iMaxElements(0), m_piColumnMajorStride(new size_t[2]())
    {
    }

    Matrix(size_t iRows, size_t iColumns) : Matrix() { Resize(iRows, iColumns); }

    Matrix(const Matrix& other) : Matrix() { *this = other; }

    Matrix& operator=(const Matrix& other)
    {
        if (this == &other)
            return *this;
        ResizeMultidimensional(other.m_nDimensions, other.m_piDimension);
        for (size_t k = 0; k < m_iNumElements; ++k)
            m_pData[k] = other.m_pData[k];
        return *this;
    }

    ~Matrix()
    {
        delete[] m_pData;
        delete[] m_piDimension;
        delete[] m_piColumnMajorStride;
    }

    void Resize(size_t iRows, size_t iColumns)
    {
        const size_t dims[2] = {iRows, iColumns};
        ResizeMultidimensional(2, dims);
    }

    void ResizeMultidimensional(size_t nDimensions, const size_t* piDimension)
    {
        if (m_nDimensions < nDimensions) {
            delete[] m_piDimension;
            delete[] m_piColumnMajorStride;
            m_piDimension = new size_t[nDimensions]();
            m_piColumnMajorStride = new size_t[nDimensions]();
        }
        m_nDimensions = nDimensions;
        size_t n = nDimensions ? 1 : 0;
        for (size_t i = 0; i < nDimensions; ++i) {
            m_piDimension[i] = piDimension[i];
            n *= piDimension[i];
        }
        m_iNumElements = n;
        if (m_iMaxElements < m_iNumElements)
            SetMaxElements(m_iNumElements);
        size_t stride = 1;
        for (size_t i = 0; i < nDimensions; ++i) {
            m_piColumnMajorStride[i] = stride;
            stride *= m_piDimension[i];
        }
    }

    // Grows the capacity; the element values are not kept.
    void SetMaxElements(size_t iMaxElements)
    {
        if (iMaxElements <= m_iMaxElements)
            return;
        delete[] m_pData;
        m_pData = new T[iMaxElements]();
        m_iMaxElements = iMaxElements;
    }

    // Copies min(iSize, NumElements()) values in storage order, zeroes the rest.
    void CopyFrom(const T* pData, size_t iSize)
    {
        const size_t n = iSize < m_iNumElements ? iSize : m_iNumElements;
        for (size_t k = 0; k < n; ++k)
            m_pData[k] = pData[k];
        for (size_t k = n; k < m_iNumElements; ++k)
            m_pData[k] = T(0);
    }

    size_t NumElements() const { return m_iNumElements; }
    size_t NumDimensions() const { return m_nDimensions; }
    size_t NumRows() const { return m_nDimensions > 0 ? m_piDimension[0] : 0; }
    size_t NumColumns() const { return m_nDimensions > 1 ? m_piDimension[1] : 0; }
    const size_t* Dimensions() const { return m_piDimension; }
    size_t Size(size_t iDimension) const
    {
        return iDimension < m_nDimensions ? m_piDimension[iDimension] : 1;
    }
    size_t MaxElements() const { return m_iMaxElements; }
    bool IsEmpty() const { return m_iNumElements == 0; }
    bool IsMatrix() const { return m_nDimensions == 2; }
    void SetEmpty() { Resize(0, 0); }
    void Zero()
    {
        for (size_t k = 0; k < m_iNumElements; ++k)
            m_pData[k] = T(0);
    }
    bool IsSizeEqual(const Matrix& other) const
    {
        if (m_nDimensions != other.m_nDimensions)
            return false;
        for (size_t i = 0; i < m_nDimensions; ++i)
            if (m_piDimension[i] != other.m_piDimension[i])
                return false;
        return true;
    }
    bool operator==(const Matrix& other) const
    {
        if (!IsSizeEqual(other))
            return false;
        for (size_t k = 0; k < m_iNumElements; ++k)
            if (!(m_pData[k] == other.m_pData[k]))
                return false;
        return true;
    }
    bool operator!=(const Matrix& other) const { return !(*this == other); }

    T* GetBuffer() { return m_pData; }
    const T* GetBuffer() const { return m_pData; }
    void Swap(Matrix& other)
    {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nDimensions, other.m_nDimensions);
        std::swap(m_piDimension, other.m_piDimension);
        std::swap(m_iNumElements, other.m_iNumElements);
        std::swap(m_iMaxElements, other.m_iMaxElements);
        std::swap(m_piColumnMajorStride, other.m_piColumnMajorStride);
    }

    T& operator()(size_t k) { return m_pData[k]; }
    const T& operator()(size_t k) const { return m_pData[k]; }
    T& operator()(size_t r, size_t c) { return m_pData[r + c * NumRows()]; }
    const T& operator()(size_t r, size_t c) const { return m_pData[r + c * NumRows()]; }
    T& Get(size_t k) { return m_pData[k]; }

private:
    T* m_pData;
    size_t m_nDimensions;
    size_t* m_piDimension;
    size_t m_iNumElements;
    size_t m_iMaxElements;
    size_t* m_piColumnMajorStride;
};

} // namespace Quenrix
