// TDLinkedList<T>: the doubly linked list with a remembered cursor that holds the level data.
#pragma once

#include <cstdint>
#include <exception>

// Raised by TDLinkedList<T>::Items for an index without a node; it carries no message text.
template <typename T>
class XIndexOutOfRange : public std::exception {
  public:
    const char* what() const noexcept override { return ""; }
};

// The list owns its nodes and their items. Items(i) walks from the node it reached last (or
// from the nearer end after a miss), so a walk by increasing or decreasing index costs one step
// per call.
template <typename T>
class TDLinkedList {
  public:
    struct Node {
        T Item;
        Node* Next = nullptr;
        Node* Prev = nullptr;
    };

    TDLinkedList() = default;
    // Records are copied by value, nested lists included.
    TDLinkedList(const TDLinkedList& other) { Append(other); }
    TDLinkedList& operator=(const TDLinkedList& other) {
        if (this != &other) {
            Clear();
            Append(other);
        }
        return *this;
    }
    ~TDLinkedList() { Clear(); }

    // Appends a copy after the tail; the cursor stays where it was.
    void Add(const T& item) {
        Node* node = new Node{item, nullptr, Tail};
        if (Tail != nullptr) {
            Tail->Next = node;
        } else {
            Head = node;
        }
        Tail = node;
        ++Count;
    }

    T& Items(std::int32_t i) {
        if (Cursor == nullptr) {
            if (i <= Count / 2) {
                Cursor = Head;
                CursorIndex = 0;
            } else {
                Cursor = Tail;
                CursorIndex = Count - 1;
            }
        }
        if (i > CursorIndex) {
            while (i > CursorIndex && Cursor != nullptr) {
                Cursor = Cursor->Next;
                ++CursorIndex;
            }
        } else {
            while (i < CursorIndex && Cursor != nullptr) {
                Cursor = Cursor->Prev;
                --CursorIndex;
            }
        }
        if (Cursor == nullptr) {
            throw XIndexOutOfRange<T>();
        }
        return Cursor->Item;
    }

    void Clear() {
        while (Head != nullptr) {
            Node* next = Head->Next;
            delete Head;
            Head = next;
        }
        Cursor = nullptr;
        Tail = nullptr;
        CursorIndex = 0;
        Count = 0;
    }

    Node* Head = nullptr;
    Node* Cursor = nullptr;  // the node Items reached last; null when it ran off an end
    Node* Tail = nullptr;
    std::int32_t CursorIndex = 0;
    std::int32_t Count = 0;

  private:
    void Append(const TDLinkedList& other) {
        for (const Node* node = other.Head; node != nullptr; node = node->Next) {
            Add(node->Item);
        }
    }
};
